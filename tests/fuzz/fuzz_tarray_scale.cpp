// The typed array against a plain vector model, under edits whose indexes and counts reach the
// int limits, and the audio scale built from arbitrary points: its mappings, ranges and drawing
// onto a small DC with rectangles anywhere. Sizes the array would really allocate stay small;
// sizes past INT_MAX are passed as they are (they must be refused).
#include <algorithm>
#include <cmath>
#include <vector>

#include "FuzzValues.h"
#include "foundation/AudioScale.h"
#include "foundation/TArray.h"
#include "support/Canvas.h"

namespace {

constexpr long long kRealLimit = 1 << 14;

void Check(const CTArray<int>& a, const std::vector<int>& model) {
  if (a.GetSize() != static_cast<int>(model.size()) || a.GetMaxSize() < a.GetSize() ||
      !std::equal(model.begin(), model.end(), a.GetData()))
    __builtin_trap();
}

void ArraySteps(FuzzedDataProvider& in) {
  CTArray<int> a;
  std::vector<int> model;
  for (int step = 0; step < 48 && in.remaining_bytes() > 0; ++step) {
    const int i = fuzzvalues::Int(in), n = fuzzvalues::Int(in), v = in.ConsumeIntegral<int>();
    const long long size = static_cast<long long>(model.size());
    switch (in.ConsumeIntegralInRange(0, 6)) {
      case 0:  // SetSize with a modest growth step
        if (i > kRealLimit) break;
        a.SetSize(i, in.ConsumeIntegralInRange(-1, 64));
        model.resize(i > 0 ? static_cast<size_t>(i) : 0, 0);
        break;
      case 1: {  // InsertAt(index, element, count)
        const long long end = std::max<long long>(i, size) + n;
        if (i < 0 || n <= 0) {
          a.InsertAt(i, v, n);
        } else if (end > INT_MAX) {
          a.InsertAt(i, v, n);  // refused
        } else if (end <= kRealLimit) {
          a.InsertAt(i, v, n);
          if (i >= size) model.resize(static_cast<size_t>(i), 0);
          model.insert(model.begin() + i, static_cast<size_t>(n), v);
        }
        break;
      }
      case 2: {  // InsertAt(index, array), possibly itself
        CTArray<int> other;
        const bool self = in.ConsumeBool();
        const int count = self ? a.GetSize() : in.ConsumeIntegralInRange(0, 8);
        std::vector<int> src = self ? model : std::vector<int>(static_cast<size_t>(count), v);
        if (!self)
          for (int k = 0; k < count; ++k) other.Add(v);
        const long long end = std::max<long long>(i, size) + count;
        if (count > 0 && i >= 0 && end > INT_MAX) {
          a.InsertAt(i, self ? &a : &other);  // refused
        } else if (i < 0 || count == 0) {
          a.InsertAt(i, self ? &a : &other);
        } else if (end <= kRealLimit) {
          a.InsertAt(i, self ? &a : &other);
          if (i >= size) model.resize(static_cast<size_t>(i), 0);
          model.insert(model.begin() + i, src.begin(), src.end());
        }
        break;
      }
      case 3:
        if (i >= 0 && i < size) {
          const int cnt = n;
          a.RemoveAt(i, cnt);
          if (cnt > 0) model.erase(model.begin() + i, model.begin() + std::min<long long>(size, i + static_cast<long long>(cnt)));
        } else {
          a.RemoveAt(i, n);
        }
        break;
      case 4:
        if (i == INT_MAX) {
          a.SetAtGrow(i, v);  // refused
        } else if (i >= 0 && i < kRealLimit) {
          a.SetAtGrow(i, v);
          if (i >= size) model.resize(static_cast<size_t>(i) + 1, 0);
          model[static_cast<size_t>(i)] = v;
        }
        break;
      case 5:
        if (size * 2 <= kRealLimit) {
          a.Append(a);
          const std::vector<int> copy = model;
          model.insert(model.end(), copy.begin(), copy.end());
        }
        break;
      default:
        a.FreeExtra();
        break;
    }
    Check(a, model);
  }
}

void ScaleSteps(FuzzedDataProvider& in) {
  const int count = in.ConsumeIntegralInRange(0, 12);
  std::vector<ScaleItem> items(static_cast<size_t>(count));
  for (ScaleItem& it : items) it = {fuzzvalues::Int(in), fuzzvalues::Int(in)};
  CAudioScale scale(in.ConsumeBool() ? 1 : 0);
  scale.SetScale(count ? items.data() : nullptr, count);
  volatile double sink = static_cast<double>(scale.GetDBRange()) + scale.GetValueRange();
  for (int k = 0; k < 4; ++k) {
    const float x = fuzzvalues::Float(in);
    sink = sink + scale.DB2Value(x) + scale.Value2DB(x);
  }
  testsupport::Canvas c(48, 48);
  const RECT r{fuzzvalues::Int(in), fuzzvalues::Int(in), fuzzvalues::Int(in), fuzzvalues::Int(in)};
  scale.Draw(&c.dc, r, fuzzvalues::Int(in), static_cast<ASDSStyle>(in.ConsumeIntegralInRange(0, 3)),
             fuzzvalues::Int(in), fuzzvalues::Int(in), fuzzvalues::Int(in));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  if (in.ConsumeBool())
    ArraySteps(in);
  else
    ScaleSteps(in);
  return 0;
}
