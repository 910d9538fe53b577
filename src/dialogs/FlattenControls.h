#pragma once
// Gives a dialog's buttons, text boxes, lists, trees, progress bars and picture boxes a thin
// flat border; combo boxes, check boxes, option buttons, labels and frames are left alone.

class QWidget;

void FlattenControls(QWidget &form);
