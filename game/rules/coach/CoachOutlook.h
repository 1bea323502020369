#pragma once
// A quick, rough value of the rest of a game: the final total if every open
// category makes about what it usually does, given the dice already on the
// board. The dice of every row stay for the second half, where each line
// takes one die from each row: so an open number category can still collect
// one die of its face from every row, and Five of a kind or a Flush needs a
// face or colour that every row has. The playouts choose categories by it and
// the coach uses it to pick the choices worth playing out.

#include "game/rules/CBoardState.h"
#include "game/rules/HandScore.h"

namespace coach {

// What the finished rows of a board offer the second half.
struct Material {
    int rowsMade = 0;
    int rowsWithFace[7] = {};     // rows showing the face at least once
    int rowsWithColour[4] = {};   // rows showing the colour at least once
    int bestFaceSum = 0;          // the highest die of each row, summed

    // Rows 0..rows-1 of the board.
    static Material Of(const int face[kDieCount], const int colour[kDieCount], int rows);
    // One more finished row.
    void Add(const int faces[kHandSize], const int colours[kHandSize]);
};

// The expected final total of a sheet, its open categories valued on the material.
double Outlook(const ScoreCells& cells, const Material& material);

// The free category (index) worth most to score a finished row into, the
// row's dice counted in the material; `material` holds the rows before it.
int OutlookCategory(const ScoreCells& cells, const Material& material, const int faces[kHandSize],
                    const int colours[kHandSize]);
// The best of scoring the row into a free category now, by the outlook.
double BestScoreOutlook(const ScoreCells& cells, const Material& material, const int faces[kHandSize],
                        const int colours[kHandSize]);

}  // namespace coach
