// gameover.h: ending a game: whether a result enters the table, and entering it.
#pragma once

// Whether the finished game's score beats the last row of the table.
bool greatScore();

// Puts the finished game into the table below every row with an equal or better score, and saves.
void insertResult();

// What a released key does to the name being typed: nothing, a character added or confirmed.
enum NameKey { NameKeyNone, NameKeyAdd, NameKeyConfirm };
