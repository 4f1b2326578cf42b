// screen.cpp: the one place where the screen and the page change, and the music is chosen.
#include "base/screen.h"

static MusicRequest musicOfChange(ScreenName from, PageName fromPage, ScreenName to, PageName toPage)
{
    if (to == GameScreen)
        return GameMusicRequest;
    if (to == FinishedScreen)
        return MenuMusicRequest;
    if (to != IntroScreen)
        return NoMusicRequest;
    if (from == IntroScreen)   // the options page applies its switches to the menu's music
        return fromPage == OptionsPage && toPage != OptionsPage ? MenuMusicRequest : NoMusicRequest;
    // After the last level the menu's music plays already.
    return from == FinishedScreen ? NoMusicRequest : MenuMusicRequest;
}

void changeScreen(ScreenName screen, PageName page)
{
    MusicRequest music = musicOfChange(game.Screen, game.MenuPage, screen, page);
    if (music != NoMusicRequest)
        game.musicRequest = music;
    game.Screen = screen;
    game.MenuPage = page;
}

bool pointerShownOn(ScreenName screen)
{
    return screen == IntroScreen || screen == FinishedScreen;
}
