// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Announcer;
class GameClock;
class HighScoreBook;
class ProgramLauncher;
class Prompts;
class RandomGenerator;
class RecordFiles;
class Registry;

// The outside world as the windows reach it; tests hand in fakes and a scratch folder.
struct Services
{
    GameClock *clock = nullptr;
    Prompts *prompts = nullptr;
    RecordFiles *records = nullptr;
    // Every change to the records goes through the book; reads may go to the files.
    HighScoreBook *book = nullptr;
    Registry *registry = nullptr;
    ProgramLauncher *launcher = nullptr;
    RandomGenerator *random = nullptr;
    // What the game says to a screen reader; nothing is said without one.
    Announcer *announcer = nullptr;
};
