// The quicksort shared by the lists: Hoare partitioning around the middle item.
#pragma once

namespace sv {

// Sorts the items l..r. compareToPivot(i) compares item i with the pivot (below 0,
// 0, above 0); takePivot(i) makes item i the pivot; exchange(i, j) swaps two items.
// The partitioning is the classic one; the smaller part is sorted by recursion and
// the larger one in the loop, so the stack stays shallow, and the scans stop at the
// range ends even when a comparison is not consistent.
template <class TCompare, class TTakePivot, class TExchange>
void SvQuickSort(int l, int r, TCompare compareToPivot, TTakePivot takePivot, TExchange exchange) {
  while (l < r) {
    int i = l;
    int j = r;
    takePivot(static_cast<int>((static_cast<unsigned>(l) + static_cast<unsigned>(r)) >> 1));
    do {
      while (i < r && compareToPivot(i) < 0)
        ++i;
      while (j > l && compareToPivot(j) > 0)
        --j;
      if (i <= j) {
        if (i != j)
          exchange(i, j);
        ++i;
        --j;
      }
    } while (i <= j);
    // The parts l..j and i..r are independent, so their order of sorting does not
    // change the result.
    if (j - l < r - i) {
      if (l < j)
        SvQuickSort(l, j, compareToPivot, takePivot, exchange);
      l = i;
    } else {
      if (i < r)
        SvQuickSort(i, r, compareToPivot, takePivot, exchange);
      r = j;
    }
  }
}

} // namespace sv
