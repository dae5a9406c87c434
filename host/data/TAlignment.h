#pragma once

#include <QtCore/qnamespace.h>

namespace host {

// How a text sits in its cell: a field's own, which a grid column may override.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// The alignment as Qt draws it, centred vertically in a grid cell.
inline Qt::Alignment QtAlignment(TAlignment alignment) {
    switch (alignment) {
    case TAlignment::taRightJustify:
        return Qt::AlignRight | Qt::AlignVCenter;
    case TAlignment::taCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case TAlignment::taLeftJustify:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace host
