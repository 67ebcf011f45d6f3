#pragma once
// The window layouts name "MS Sans Serif", "Arial", "Courier New" and "Times
// New Roman". These map them to the metric-compatible Liberation fonts, with
// DejaVu behind them, so the pixel layouts look as they were drawn.
void installFontSubstitutions();
