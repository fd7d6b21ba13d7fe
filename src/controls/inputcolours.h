#pragma once

class QWidget;

namespace kav {

// What the user edits or picks from stands out: a light yellow background, a light cyan
// selection in its drop-down list, and the pointing hand over it (the text cursor for fields
// typed into).
void applyInputColours(QWidget* control);

} // namespace kav
