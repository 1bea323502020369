#pragma once
// The synthesizer's way to its SoundFont files: plain files, or a file cut
// down to some of its presets (formats/MSoundFontCut.h) read under a name of
// its own, also later when the synthesizer reads an instrument's samples.

#include <memory>
#include <string>

#include "formats/MSoundFontCut.h"

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

namespace MSoundFontFiles {

// Gives the synthesizer a SoundFont loader that reads through here; false
// when it cannot be made (the synthesizer then reads plain files itself).
bool AddLoader(fluid_settings_t* settings, fluid_synth_t* synth);
// From now on name reads as the cut of the file at path.
void AddCut(const std::string& name, const std::string& path, std::shared_ptr<const MSoundFontCut> cut);
// name is no longer a cut (files already open keep reading it).
void RemoveCut(const std::string& name);

}  // namespace MSoundFontFiles
