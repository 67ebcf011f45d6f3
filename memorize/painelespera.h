#pragma once
// The busy overlay shown on a window while it blanks words: a red-framed
// black panel in the middle of the window with a bold yellow message.
//
// Its two panels are direct children of the window, named "PainelDisplay"
// (the frame) and "PainelDisplay1" (the message); they are made and removed
// together. Both calls let the events already waiting run before they return
// (paints included, so the overlay shows at once), and so may run a click
// that was waiting at that point.

#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

// show: puts the overlay on `window`, or, when it is there already, only
// changes its message. width 0 means 240 pixels; an empty message means
// "Processando Informações". !show: removes the overlay; without one there,
// nothing changes but the waiting events run.
void PainelEspera(QWidget* window, int width, const QString& message, bool show);

// Where the frame goes on a window of the given outer size (title bar and
// frame included): centred across, its top 48 pixels above the middle, each
// half rounded away from zero. width as for PainelEspera.
QRect overlayFrameGeometry(QSize outer, int width);
