// model/MoveShuffle.h -- the shuffle of a selection: n random moves of one item each
#pragma once

#include <vector>

namespace stellik {

// The order of n items after n moves: each move draws a, then b, in 0..n-1 from the
// process-wide generator and moves the item at b to position a (the items between shift by
// one). Returns the original positions in their new order; draws nothing when n <= 0.
// Runs in O(n sqrt n) with the same draws and the same result as moving in a plain array.
// blockSize: the length of the runs the items are kept in; 0 chooses it from n.
std::vector<int> MoveShuffleOrder(int n, int blockSize = 0);

} // namespace stellik
