// page_web.hpp: how a program of the web edition waits for its page, and
// what it tells the page besides its output.
#pragma once

// What the page is asked for, so that it can say what moves the program on.
enum PageWait {
    page_wait_enter = 0, // a console pause: Enter
    page_wait_key = 1,   // a console pause for one key
    page_wait_stage = 2, // a picture stage: a key, a click or "Next stage"
};

// Hands control back to the page (the program's stack kept aside) until the
// page answers the wait; returns the character code of the key that did,
// 0 for a click or a button. Standard output is flushed first.
extern "C" int page_wait(int kind);

// The value that a parameter takes in this run, given or built in (decimal).
extern "C" void page_parameter(const char *name, const char *value);
