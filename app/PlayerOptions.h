// The player's options, kept in the settings file's "Options" section.
#pragma once

struct TPlayerOptions {
    int AutoPlay = 0;
    int AutoRepeat = 0;
};
