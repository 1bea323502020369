#pragma once
// Today's dice: a game whose seed is the local date, so that everyone who
// plays on that date gets the same dice. Each player has one counted attempt a
// day (the first today's game they begin); later ones that day are practice.
// After the counted attempt its result can be shared as one line of text.

#include <cstdint>
#include <ctime>
#include <string>

#include "game/rules/Duel.h"

// The local date of a moment as "YYYY-MM-DD".
std::string LocalDateText(std::time_t when);
// The seed of a date's dice: a fixed mix of its text, the same on every machine.
std::uint64_t TodaySeed(const std::string& date);
// The setup of today's game at the options' opponent level (Off: a solo game).
GameSetup TodaySetup(const std::string& date, OpponentLevel opponent);

// Whether the player has begun today's game on that date already.
bool TodayAttemptUsed(const std::string& player, const std::string& date);
// Notes that the player began today's game on that date. True when this is the
// counted attempt (the first of the day), false for practice.
bool BeginTodayAttempt(const std::string& player, const std::string& date);
// A kept game of today's dice, resumed: the date of the player's counted game
// when it is this one (the seed is that date's and no result was kept for it
// yet), else "" (the game was practice).
std::string CountedTodayDate(const std::string& player, std::uint64_t seed);

// "Zanbor 2026-12-08 · 1,874 · Hard 1,932", or without the opponent's part
// when the game was played alone.
std::string TodayResultLine(const std::string& date, int total, OpponentLevel opponent, int opponentTotal);
// A number with commas between its groups of three digits: "1,874".
std::string GroupedNumber(int value);
// Keeps the line of the player's counted attempt; the line of that date, or ""
// when the player has none for it.
bool KeepTodayResult(const std::string& player, const std::string& line);
std::string TodayResult(const std::string& player, const std::string& date);
