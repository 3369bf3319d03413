// Grid lines between the cells of a list shown in report form.
#pragma once

class QAbstractItemView;

namespace vorsin::ui {

// Draws a thin line along the right and bottom edge of every cell.
void ShowGridLines(QAbstractItemView* view);

}  // namespace vorsin::ui
