#include "vorn/plot/window_keys.h"

#include <QKeyEvent>

namespace vorn::plot {

std::optional<console::Key> consoleKeyFor(const QKeyEvent& event)
{
    using console::Key;
    using console::KeyKind;
    switch (event.key()) {
    case Qt::Key_Up: return Key {KeyKind::Up, 0};
    case Qt::Key_Down: return Key {KeyKind::Down, 0};
    case Qt::Key_Left: return Key {KeyKind::Left, 0};
    case Qt::Key_Right: return Key {KeyKind::Right, 0};
    case Qt::Key_PageUp: return Key {KeyKind::PageUp, 0};
    case Qt::Key_PageDown: return Key {KeyKind::PageDown, 0};
    default: break;
    }
    const QString text = event.text();
    if (text.size() == 1 && text[0].unicode() < 128)
        return Key::of(static_cast<char>(text[0].unicode()));
    return std::nullopt;
}

} // namespace vorn::plot
