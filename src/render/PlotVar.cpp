#include "render/PlotVar.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kSameTime = 1e-20;

bool SameTime(double a, double b) {
    return std::fabs(a - b) < kSameTime;
}

} // namespace

void CPlotVar::MakeRing(std::uint32_t n) {
    ringMode = 1;
    ringCapacity = n;
    Resize(n);
    ClearValues();
    writePos = 0;
    ascending_ = true; // every slot holds the missing value until the first push
    DropTimeBounds();
}

void CPlotVar::Resize(std::uint32_t n) {
    if (n == 0) return;
    values.resize(n, MISSING_VALUE);
    capacity = n;
    ascending_ = false;
    // Device points are recorded by the drawing code, which sizes the array when it draws.
    devicePoints.clear();
    devicePointCount = 0;
    DropTimeBounds();
}

void CPlotVar::ClearValues() {
    const std::uint32_t n = ringMode ? std::min(ringCapacity, capacity) : capacity;
    std::fill(values.begin(), values.begin() + n, MISSING_VALUE);
    ascending_ = writePos == 0 && !wrapped;
    DropTimeBounds();
}

void CPlotVar::Push(double x) {
    if (capacity == 0) return;
    if (writePos >= capacity) {
        wrapped = 1;
        writePos = 0;
    }
    // The newest sample sits before writePos; none before the first push.
    const bool hasNewest = writePos > 0 || wrapped;
    if (hasNewest && !(x >= values[writePos > 0 ? writePos - 1 : capacity - 1])) ascending_ = false;
    if (boundsValid_) {
        if (writePos == 0)
            prefixMax_ = -std::numeric_limits<double>::infinity();
        else if (values[writePos - 1] > prefixMax_)
            prefixMax_ = values[writePos - 1];
        if (x > readableMax_) readableMax_ = x;
    }
    values[writePos++] = x;
}

bool CPlotVar::SetAt(std::uint32_t index, double x) {
    if (index >= capacity) {
        if (index > std::numeric_limits<std::uint32_t>::max() - 10) return false;
        Resize(index + 10);
        if (index >= capacity) return false;
    }
    highestIndex = std::max(highestIndex, index);
    values[index] = x;
    ascending_ = false;
    if (ringMode) StepWrite(index, writePos, wrapped);
    DropTimeBounds();
    return true;
}

void CPlotVar::SetFirst(std::span<const double> from, std::uint32_t n) {
    const auto at = [&](std::uint32_t m) { return m < from.size() ? from[m] : 0.0; };
    if (ringMode || n > capacity) { // a ring's write position follows each sample
        for (std::uint32_t m = 0; m < n; ++m)
            SetAt(m, at(m));
        return;
    }
    if (n == 0) return;
    const std::size_t copied = std::min<std::size_t>(from.size(), n);
    std::copy_n(from.begin(), copied, values.begin());
    std::fill(values.begin() + std::ptrdiff_t(copied), values.begin() + n, 0.0);
    highestIndex = std::max(highestIndex, n - 1);
    ascending_ = false;
    DropTimeBounds();
}

bool CPlotVar::Get(std::uint32_t index, double& value) const {
    if (index >= ReadableCount()) {
        value = MISSING_VALUE;
        return false;
    }
    value = values[index];
    return true;
}

std::uint32_t CPlotVar::LastSlot() const {
    return writePos == 0 ? 0 : writePos - 1;
}

std::uint32_t CPlotVar::ReadableCount() const {
    if (!ringMode) return capacity;
    return wrapped ? capacity : std::min(writePos, capacity);
}

bool CPlotVar::Range(double& min, double& max) const {
    const std::uint32_t n = ReadableCount();
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    // Four independent running minima and maxima keep the loop free of a serial dependency,
    // and a missing sample (or NaN) compares as the infinities, without a branch.
    double lo4[4] = {lo, lo, lo, lo}, hi4[4] = {hi, hi, hi, hi};
    const double* sample = values.data();
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        for (std::size_t k = 0; k < 4; ++k) {
            const double v = sample[i + k];
            const bool present = v <= MISSING_THRESHOLD; // also false for NaN
            const double low = present ? v : lo, high = present ? v : hi;
            lo4[k] = low < lo4[k] ? low : lo4[k];
            hi4[k] = high > hi4[k] ? high : hi4[k];
        }
    }
    for (; i < n; ++i) {
        const double v = values[i];
        if (v <= MISSING_THRESHOLD) {
            lo4[0] = std::min(lo4[0], v);
            hi4[0] = std::max(hi4[0], v);
        }
    }
    for (int k = 0; k < 4; ++k) {
        lo = std::min(lo, lo4[k]);
        hi = std::max(hi, hi4[k]);
    }
    if (lo > hi) {
        min = 0;
        max = 1;
        return false;
    }
    min = lo;
    max = hi;
    return true;
}

void CPlotVar::Truncate(std::uint32_t a, bool clearAll) {
    if (!ringMode) return;
    DropTimeBounds();
    if (clearAll) {
        writePos = 0;
        wrapped = 0;
        ascending_ = true;
        return;
    }
    ascending_ = false;
    if (a >= ReadableCount()) return;
    const std::uint32_t w = std::min(writePos, capacity);
    if (!wrapped) {
        writePos = a + 1;
    } else if (a > w) {
        std::copy(values.begin() + w, values.begin() + a, values.begin());
        writePos = a - w;
        wrapped = 0;
    } else {
        std::vector<double> kept(capacity, MISSING_VALUE);
        auto out = std::copy(values.begin() + w, values.begin() + capacity, kept.begin());
        std::copy(values.begin(), values.begin() + a, out);
        values.swap(kept);
        writePos = capacity - w + a;
        wrapped = 0;
    }
}

void CPlotVar::Reset() {
    ClearValues();
    writePos = 0;
    name.clear();
    label.text.clear();
    wrapped = 0;
    ascending_ = true;
    xVarNo = 0;
}

std::vector<double> CPlotVar::RoomFor(std::size_t n) const {
    return n == values.size() ? std::vector<double>() : std::vector<double>(n);
}

void CPlotVar::Assign(std::span<const double> samples, std::vector<double>&& room) noexcept {
    if (room.size() == samples.size()) values.swap(room);
    if (values.size() != samples.size()) return; // room was not made for these samples
    std::transform(samples.begin(), samples.end(), values.begin(),
                   [](double v) { return std::isfinite(v) ? v : MISSING_VALUE; });
    capacity = std::uint32_t(samples.size());
    highestIndex = capacity ? capacity - 1 : 0;
    // Device points are recorded by the drawing code, which sizes the array when it draws. A
    // series replaced by one of a similar length keeps the array, so that drawing it does not
    // clear millions of points first; a much shorter one lets the memory go.
    if (devicePoints.size() > 2 * std::size_t(capacity)) devicePoints = {};
    devicePointCount = 0;
    DropTimeBounds();
}

void CPlotVar::CopyInOrder(std::span<double> out, const CPlotVar* clock) const {
    const CPlotVar& order = clock && clock->capacity == capacity ? *clock : *this;
    const std::size_t n = std::min<std::size_t>(order.ReadableCount(), out.size());
    // A wrapped ring starts at the write position, its oldest sample.
    const bool wrappedRing = order.ringMode && order.wrapped && capacity;
    const std::size_t start = wrappedRing ? order.writePos % capacity : 0;
    const std::size_t first = std::min<std::size_t>(n, capacity - start);
    std::copy_n(values.begin() + std::ptrdiff_t(start), first, out.begin());
    std::copy_n(values.begin(), n - first, out.begin() + std::ptrdiff_t(first));
}

bool CPlotVar::Buffer::Consistent() const {
    const std::size_t n = values.size();
    return ringMode <= 1 && wrapped <= 1 && n <= std::numeric_limits<std::uint32_t>::max() &&
           writePos <= n && (n == 0 ? highestIndex == 0 : highestIndex < n);
}

CPlotVar::Buffer CPlotVar::SaveBuffer() const {
    Buffer b{ringMode, ringCapacity, highestIndex, writePos, wrapped, {}};
    const std::size_t n = std::min<std::size_t>(capacity, values.size());
    b.values.assign(values.begin(), values.begin() + std::ptrdiff_t(n));
    return b;
}

void CPlotVar::RestoreBuffer(Buffer&& buffer) noexcept {
    ringMode = buffer.ringMode;
    ringCapacity = buffer.ringCapacity;
    highestIndex = buffer.highestIndex;
    writePos = buffer.writePos;
    wrapped = buffer.wrapped;
    values = std::move(buffer.values);
    capacity = std::uint32_t(values.size());
    devicePoints.clear();
    devicePointCount = 0;
    // Whether the samples ascend is not known without a scan: the lookups take the slow road
    // until the buffer is rebuilt.
    ascending_ = false;
    DropTimeBounds();
}

TimeSlot CPlotVar::FindTimeByScan(double t, bool mayAppend) {
    if (capacity == 0) return {};
    if (t < 0) {
        // A negative time repeats the newest one; with no sample there is none to repeat.
        if (ReadableCount() == 0) return {};
        const std::uint32_t k = (writePos - 1u) % capacity;
        t = values[k];
        if (SameTime(t, values[(writePos - 2u) % capacity])) return {TimeSlot::Reused, k};
    } else {
        const std::uint32_t n = ReadableCount();
        for (std::uint32_t i = 0; i < n; ++i)
            if (SameTime(values[i], t)) return {TimeSlot::Found, i};
    }
    if (!ringMode || !mayAppend) return {};
    Push(t);
    return {TimeSlot::Appended, (writePos - 1u) % capacity};
}

void CPlotVar::RebuildTimeBounds() {
    const double none = -std::numeric_limits<double>::infinity();
    readableMax_ = prefixMax_ = none;
    const std::uint32_t n = ReadableCount();
    for (std::uint32_t i = 0; i < n; ++i) {
        const double v = values[i];
        if (v > readableMax_) readableMax_ = v;
        if (i + 1 < writePos && v > prefixMax_) prefixMax_ = v;
    }
    boundsValid_ = true;
}

TimeSlot CPlotVar::FindTime(double t, bool mayAppend) {
    // Negative and NaN times take the plain path: the first is constant time anyway.
    if (capacity == 0 || !(t >= 0)) return FindTimeByScan(t, mayAppend);
    if (!boundsValid_) RebuildTimeBounds();
    // Rounding is monotonic, so t - v >= t - readableMax_ for every readable v: no match.
    if (t - readableMax_ >= kSameTime) {
        if (!ringMode || !mayAppend) return {};
        Push(t);
        return {TimeSlot::Appended, (writePos - 1u) % capacity};
    }
    // The newest slot matches and no slot before it in index order can.
    if (writePos >= 1 && SameTime(values[writePos - 1], t) && t - prefixMax_ >= kSameTime)
        return {TimeSlot::Found, writePos - 1};
    return FindTimeByScan(t, mayAppend);
}

bool CPlotVar::SetName(const std::string& text) {
    if (text == name) return false;
    name = text;
    if (label.text.empty()) label.text = text;
    if (ringMode) ClearValues();
    return true;
}

void CPlotVar::RecordDevicePoint(int x, int y) {
    if (devicePointCount >= devicePoints.size())
        devicePoints.resize(std::max<size_t>(capacity, devicePoints.size()) + 10);
    devicePoints[devicePointCount++] = {x, y};
}
