#pragma once
// Lists that show where the keyboard is: a list that has the focus is framed in the highlight colour
// and shows its selection in it; a list without the focus shows its selection in grey, so that with
// two lists side by side the technician sees which one the arrow keys and Enter go to. Tab leaves the
// list for the next control.

class QAbstractItemView;

void ShowFocusClearly(QAbstractItemView& list);
