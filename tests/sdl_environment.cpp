// sdl_environment.cpp: every test process ends as the game does, by shutting SDL down.
#include <gtest/gtest.h>

#include "SDL.h"

namespace {

// Without it the audio device would still be mixing while the process tears itself down.
struct ShutSdlDown : ::testing::Environment {
    void TearDown() override { SDL_Quit(); }
};

const ::testing::Environment *const shutSdlDown = ::testing::AddGlobalTestEnvironment(new ShutSdlDown);

}  // namespace
