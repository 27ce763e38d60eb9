#pragma once
// A key from the keyboard, decoded from the terminal's byte sequences or handed over by a window.

namespace vorn::console {

enum class KeyKind { Character, Up, Down, Left, Right, PageUp, PageDown, Other };

struct Key {
    KeyKind kind = KeyKind::Other;
    char character = 0; // set for KeyKind::Character

    static Key of(char c) { return Key {KeyKind::Character, c}; }
    // Letters compare in either case, as the menus of both tools accept them.
    bool isLetter(char upper) const;
};

} // namespace vorn::console
