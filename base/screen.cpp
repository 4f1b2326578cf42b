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
        return fromPage == OptionsPage && toPage == MainPage ? MenuMusicRequest : NoMusicRequest;
    // After the last level the menu's music plays already.
    return from == FinishedScreen ? NoMusicRequest : MenuMusicRequest;
}

void changeScreen(ScreenName screen, PageName page)
{
    MusicRequest music = musicOfChange(game.Screen, game.MenuPage, screen, page);
    if (music != NoMusicRequest)
        game.musicRequest = music;
    // A new page starts with its first item lit when the keys lit the last one, and the row of a
    // new result is lit until the table is left.
    if (page != game.MenuPage || screen != game.Screen)
        game.menuSelection = game.menuSelection != NoSelection ? 0 : NoSelection;
    if (game.MenuPage == HighScorePage && page != HighScorePage)
        game.litRow = NoSelection;
    game.waitingRow = NoSelection;
    game.Screen = screen;
    game.MenuPage = page;
}
