#include "render/AxisValueBatch.h"

void CAxisValueBatch::Start(CPlotAxis* axis) {
    axis_ = axis;
    inAnyOrder_ = axis && axis->WidensInAnyOrder();
    pending_ = false;
    grew_ = false;
}

// The values seen so far go to the axis before one that must be told in its place.
void CAxisValueBatch::TellNow(double value, bool first) {
    Flush();
    grew_ |= axis_->AddValue(value, first);
}

// With the working range fixed, a value widens the axis when it lies beyond one end of that
// range (less a margin), and only the extreme value beyond each end decides how far: the
// smallest and largest value leave the axis as all of them would.
void CAxisValueBatch::Flush() {
    if (!pending_) return;
    grew_ |= axis_->AddValue(lo_, false);
    grew_ |= axis_->AddValue(hi_, false);
    pending_ = false;
}

bool CAxisValueBatch::Finish() {
    if (axis_) Flush();
    return grew_;
}
