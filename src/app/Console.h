#pragma once

// Where tpfw's answer to --version or --help goes: the terminal it was
// started from. On Windows a windowed program has none until it attaches
// to its parent's console.
void attachParentConsole();
