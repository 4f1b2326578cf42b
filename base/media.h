// media.h: the files of media/ that the game loads, each in the order it is loaded and logged.
#pragma once

const int StartPictureCount = 7;  // the pictures loadAssets loads, the fonts' images included
const int StartSoundCount = 8;    // the two music tracks and six effects of start-up

// Indices into PictureFiles.
enum PictureFile { BackgroundPicture, IntroPicture, SmallFontPicture, LargeFontPicture, BlockPicture,
                   GlowPicture, ExplosionPicture };
const char *const PictureFiles[StartPictureCount] = {"back.jpg",  "intro.jpg", "font1.png", "bobcat36.png",
                                                     "klocki.jpg", "posw.png",  "wybuch.png"};

// The fonts' metrics; their pictures are among PictureFiles.
const char *const SmallFontMetrics = "font1.txt";
const char *const LargeFontMetrics = "bobcat36.txt";

// The menu's and the game's music, then the effects in the order of their channels (Effect).
const char *const SoundFiles[StartSoundCount] = {"m2.ogg",      "m1.ogg",       "explosion.ogg",  "nextlevel.ogg",
                                                 "spadanie.ogg", "ulozone.ogg", "greatscore.ogg", "badscore.ogg"};
