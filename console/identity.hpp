// identity.hpp: who the running program is, from its line of the program
// registry (a source generated for each program by the build). The toolkits
// use it to name the program in messages, in the window title and in the
// usage.
#pragma once

extern const char program_name[];        // "rho_floyd"
extern const char program_description[]; // the registry's line on what it shows
extern const char program_example[];     // arguments of a worked example, or ""
