#pragma once

namespace host {

// How a text sits in its cell: a field's own, which a grid column may override.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

} // namespace host
