#pragma once
#include "render/MissingValue.h"
#include "render/PlotLabel.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

// Where a time lands in the time variable's ring.
struct TimeSlot {
    enum Kind { NotFound, Found, Reused, Appended };
    Kind kind = NotFound;
    std::uint32_t slot = 0;
    bool operator==(const TimeSlot&) const = default;
};

// One variable of a plot: an X variable (the sample times in a run plot) or a Y variable.
// Its samples live either in an indexed array (points set by number) or in a ring of fixed
// capacity (samples streamed in while the plot is live).
class CPlotVar {
public:
    explicit CPlotVar(bool independent) : independent(independent ? 1u : 0u) {}

    // --- buffer ---
    void MakeRing(std::uint32_t n);
    void Resize(std::uint32_t n);
    void ClearValues();
    void Push(double x);
    bool SetAt(std::uint32_t index, double x); // false when the slot cannot be had
    // SetAt(indices[k], value(k)) for k = 0, 1, ... in turn, every index inside the capacity:
    // the bookkeeping of the write position is kept in locals and stored once.
    template <class Value>
    void SetAtEach(std::span<const std::uint32_t> indices, Value value);
    // Slots 0 .. n-1 as SetAt of each in turn sets them: the values of from, and 0 past its
    // end; an indexed array that holds them takes them in one copy.
    void SetFirst(std::span<const double> from, std::uint32_t n);
    bool Get(std::uint32_t index, double& value) const;
    std::uint32_t RingSlotOf(std::uint32_t k) const {
        return ringMode && capacity ? k % capacity : k;
    }
    std::uint32_t LastSlot() const;
    double LastSample() const { return capacity ? values[LastSlot()] : MISSING_VALUE; }
    std::uint32_t ReadableCount() const;
    bool Range(double& min, double& max) const; // false when no sample: min 0, max 1
    void Truncate(std::uint32_t a, bool clearAll);
    void Reset();

    // --- a whole series at once (array mode) ---
    // A buffer for exactly n samples, made before a series replaces the current one so that
    // a failed allocation (std::bad_alloc) changes nothing; empty when the current buffer has
    // n slots already.
    std::vector<double> RoomFor(std::size_t n) const;
    // The variable holds exactly samples, NaN and infinities stored as missing. room is what
    // RoomFor(samples.size()) made; with it nothing here can fail.
    void Assign(std::span<const double> samples, std::vector<double>&& room) noexcept;
    // The readable samples in the order they were stored (oldest first in a ring), as many
    // as out holds. With a clock (the time variable of a run plot, whose slots are the time
    // index of every variable) the count and the order are the clock's.
    void CopyInOrder(std::span<double> out, const CPlotVar* clock = nullptr) const;

    // --- the whole buffer as it stands (the binary image) ---
    struct Buffer {
        std::uint32_t ringMode = 0, ringCapacity = 0, highestIndex = 0, writePos = 0, wrapped = 0;
        std::vector<double> values;
        // The positions fit the values and the flags are 0 or 1.
        bool Consistent() const;
    };
    Buffer SaveBuffer() const;
    // The variable holds buffer exactly as the variable it was saved from held it; buffer is
    // Consistent.
    void RestoreBuffer(Buffer&& buffer) noexcept;

    // --- time lookup (the first X variable of a run plot) ---
    // Finds the slot of time t (t < 0: the newest time); appends t when allowed and absent.
    TimeSlot FindTime(double t, bool mayAppend);
    // The plain linear scan that FindTime must always agree with.
    TimeSlot FindTimeByScan(double t, bool mayAppend);
    // True while every sample came through Push in ascending order (equal ones allowed): the
    // readable samples then ascend in ring order, oldest first.
    bool AscendsInRing() const { return ascending_; }

    // --- names ---
    bool SetName(const std::string& text); // true when the name changed
    void SetLegend(const std::string& text) { label.text = text; }
    const std::string& Legend() const { return label.text; }

    // --- drawing support ---
    void RecordDevicePoint(int x, int y);
    // The pen line type (1..9 of the drawing tables) of the variable's curve, which its
    // legend and label samples show as well: the stored line type counts one lower. 0 when
    // the variable draws no line (a stored type below 0).
    int PenLineType() const { return DrawsLine() ? lineType + 1 : kNoLine; }
    bool DrawsLine() const { return lineType >= 0; }
    static constexpr int kNoLine = 0;

    // Fields, in the order the variable keeps them.
    std::uint32_t ringCapacity = 0;
    std::string name;
    CPlotLabel label;
    std::uint32_t hidden = 0;
    std::uint32_t ringMode = 0;
    std::uint32_t polygon = 0;
    std::uint32_t independent;
    std::uint32_t hostObject = 0; // the variable holds a host-created object's points
    std::uint32_t capacity = 0;
    std::uint32_t highestIndex = 0;
    std::vector<double> values;
    std::vector<std::pair<int, int>> devicePoints; // filled while the curve is drawn
    std::uint32_t devicePointCount = 0;
    std::uint32_t writePos = 0;
    std::uint32_t wrapped = 0;
    // Colour index, stored line type (see PenLineType) and marker kind.
    int color = 0, lineType = 0, marker = 0;
    // The second attribute quadruple (written as "Attrib2" by the settings text) holds the
    // curve attributes beyond colour, line and marker, two before and two after the hatch.
    int area = 0;      // a closed outline, filled when barPattern (the hatch) is 0 or more
    int arrowMode = 0; // direction arrow: 0 none, 1 towards later samples, 2 earlier
    int barPattern = 0;
    int ownMarkerSize = 0;     // 0: the plot's MarkerSize
    int ownMarkerInterval = 0; // 0: the plot's MarkerInterval
    int legendNo = 0;
    int axisNo = 0;
    int xVarNo = 0;
    // Run-time curve state outside the attribute record.
    int highlighted = 0;   // drawn in the highlight colour
    int ownAttributes = 0; // a Y variable keeps its attributes in a flipped plot

private:
    // The write position after a sample was set at index of a ring, and whether the ring
    // wrapped on the way: SetAt's bookkeeping, shared with SetAtEach.
    void StepWrite(std::uint32_t index, std::uint32_t& position, std::uint32_t& wrap) const {
        if (position == capacity - 1) wrap = 1;
        position = index + 1 == capacity ? 0 : index + 1;
    }
    // Bounds that let FindTime answer without a scan: every readable value is at most
    // readableMax_, and every value in slots 0..writePos-2 at most prefixMax_. Any write other
    // than a plain append drops them; the next lookup rebuilds them with one scan.
    void DropTimeBounds() { boundsValid_ = false; }
    void RebuildTimeBounds();
    bool boundsValid_ = false;
    bool ascending_ = true;
    double readableMax_ = 0;
    double prefixMax_ = 0;
};

template <class Value>
void CPlotVar::SetAtEach(std::span<const std::uint32_t> indices, Value value) {
    if (indices.empty()) return;
    std::uint32_t high = highestIndex, position = writePos, wrap = wrapped;
    for (std::size_t k = 0; k < indices.size(); ++k) {
        const std::uint32_t index = indices[k];
        values[index] = value(k);
        high = index > high ? index : high;
        if (ringMode) StepWrite(index, position, wrap);
    }
    highestIndex = high;
    writePos = position;
    wrapped = wrap;
    ascending_ = false;
    DropTimeBounds();
}
