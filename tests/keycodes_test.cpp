// keycodes_test.cpp: the game's key codes named as the classic SDL 1.2 names them, on the controls
// page and in the pause's caption, whatever SDL the game runs on.
#include <gtest/gtest.h>

#include "SDL.h"
#include "base/keycodes.h"
#include "input/keycodes.h"

namespace {

TEST(KeyCodes, EveryKeyIsNamedAsTheClassicLibraryNamesIt)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();  // SDL names its keys once video is up
    // SDL 2's stand-in names the semicolon ");"; the game keeps the classic name.
    bool classic = SDL_Linked_Version()->patch < 50;
    for (int key = 0; key < KeyCodes; key++) {
        if (classic || key != ';') {
            EXPECT_EQ(keyName(key), SDL_GetKeyName(static_cast<SDLKey>(key))) << "key " << key;
        }
    }
    const struct {
        int key;
        const char *name;
    } samples[] = {{KeyLeft, "left"},  {KeySpace, "space"},   {'p', "p"},       {';', ";"},       {'%', "unknown key"},
                   {'A', "unknown key"}, {'{', "unknown key"}, {264, "[8]"},     {282, "f1"},      {296, "f15"},
                   {297, "unknown key"}, {165, "world 5"},    {304, "left shift"}, {0, "unknown key"},
                   {KeyCodes, "unknown key"}, {-1, "unknown key"}};
    for (const auto &s : samples)
        EXPECT_EQ(keyName(s.key), s.name) << "key " << s.key;
    SDL_Quit();
}

TEST(KeyCodes, SdlsKeysAreTheGamesOwnOnTheDesktop)
{
    EXPECT_EQ(gameKey(SDLK_LEFT), KeyLeft);
    EXPECT_EQ(gameKey(SDLK_KP_ENTER), KeyPadEnter);
    EXPECT_EQ(gameKey(SDLK_z), 'z');
    EXPECT_EQ(gameKey(0), 0);
    EXPECT_EQ(gameKey(KeyCodes), 0);
    EXPECT_EQ(gameKey(-5), 0);
}

}  // namespace
