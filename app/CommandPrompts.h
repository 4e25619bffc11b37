#pragma once

// The status-bar prompt of a command, then its tool tip after a newline;
// null for an id without one.
const char* CommandPrompt(int id);
