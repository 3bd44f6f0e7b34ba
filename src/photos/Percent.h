#pragma once

namespace albivex {

// The whole percentage shown for item i of n: i / n rounded to two decimals with
// halves away from zero, times 100 (1 of 3 -> 33, 1 of 8 -> 13, 2 of 3 -> 67,
// n of n -> 100). Exact: computed on integers, so no binary fraction tips a half.
// 0 when n is not positive.
int PercentText(int i, int n);

} // namespace albivex
