// sdl.js: where Emscripten's SDL 1.2 answers otherwise than the desktop's that the game was made
// for; linked with --js-library, after Emscripten's own.
mergeInto(LibraryManager.library, {
  // Emscripten's reads only the page's focus. The desktop's SDL_APPACTIVE is the page's being shown,
  // and a page hidden runs no frames: the first look after the page was hidden, or lost the
  // keyboard, finds it so (TavirelPage.appState in dist/web/page.js).
  SDL_GetAppState: function() {
    return TavirelPage.appState();
  },
});
