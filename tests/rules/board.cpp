// board.cpp: boards drawn as pictures for the rules' tests (board.h).
#include "board.h"

#include <algorithm>

#include "game/rules.h"

void setBoard(const std::string &picture, int level)
{
    newGame();
    game.pendingEffects = 0;
    game.pendingMusicStop = false;
    Round &r = game.round;
    r.level = level;
    r.clearsLeft = LevelTable[level - 1].clears;
    r.fallInterval = LevelTable[level - 1].interval;
    int row = BoardRows - 1 - static_cast<int>(std::count(picture.begin(), picture.end(), '/')), c = 0;
    for (char ch : picture) {
        if (ch == '/')
            row++, c = 0;
        else
            r.board[c++][row] = ch == '.' ? EmptyCell : ch >= 'a' ? ch - 'a' : MarkedOffset + ch - 'A';
    }
}

std::string picture(const std::string &like)
{
    std::string out = like;
    int row = BoardRows - 1 - static_cast<int>(std::count(like.begin(), like.end(), '/')), c = 0;
    for (char &ch : out) {
        if (ch == '/') {
            row++, c = 0;
            continue;
        }
        int32_t v = game.round.board[c++][row];
        ch = v == EmptyCell ? '.' : static_cast<char>(isMarked(v) ? 'A' + colourOf(v) : 'a' + v);
    }
    return out;
}
