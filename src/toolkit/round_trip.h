#pragma once

// The solver's shortcut through the window's number texts.

// StrToFloat(FloatToStr(value)): what a cell holds once `value` is written
// into it as text and read back. Single-precision values from 1E-8 to 1E36
// take an exact shortcut through integers, without forming the text;
// everything else takes the text. Raises as FloatToStr does.
double roundTrip(double value);
