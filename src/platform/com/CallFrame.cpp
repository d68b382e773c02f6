#include "platform/com/CallFrame.h"

#include <algorithm>

namespace com {

size_t CallFrame::WrittenCount(const MemberInfo& m) {
    return size_t(std::count_if(m.params.begin(), m.params.end(),
                                [](const ParamInfo& p) { return p.dir != ParamDir::Out; }));
}

void CallFrame::Bind(std::vector<Variant> written) {
    if (!member_ || member_->isProperty || written.size() != WrittenCount(*member_)) {
        args_ = std::move(written);
        return;
    }
    variables_.resize(member_->params.size()); // sized once: references into it must hold
    size_t next = 0;
    for (size_t i = 0; i < member_->params.size(); ++i) {
        const ParamInfo& p = member_->params[i];
        if (p.dir == ParamDir::In) {
            args_.push_back(std::move(written[next++]));
            continue;
        }
        variables_[i] =
            p.dir == ParamDir::Out ? Variant::Zero(p.type) : Coerce(written[next++], p.type);
        args_.push_back(Variant::Ref(&variables_[i]));
        outputs_.push_back(i);
    }
}

bool CallFrame::TakesOnlyOutputs() const {
    return member_ && !member_->isProperty && !member_->params.empty() &&
           WrittenCount(*member_) == 0;
}

bool CallFrame::HasResult(InvokeKind kind, const Variant& result) const {
    if (kind == InvokeKind::PropertyPut) return false;
    if (!member_) return !result.isEmpty();
    return member_->isProperty || member_->type != VarType::Empty;
}

std::vector<Variant> CallFrame::Outputs() const {
    std::vector<Variant> values;
    values.reserve(outputs_.size());
    for (const size_t i : outputs_)
        values.push_back(variables_[i]);
    return values;
}

} // namespace com
