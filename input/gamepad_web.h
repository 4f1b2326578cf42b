// gamepad_web.h: a gamepad in the browser, which the page sees only once one of its buttons is pressed.
#pragma once

// Opens the first gamepad the browser shows, once it shows one and none is open yet.
void watchForGamepad();
