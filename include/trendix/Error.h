#pragma once
/// @file
/// The exception every call of the typed front raises when it refuses a request.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace trendix {

/// A refused call: the plot is left as it was before the call.
///
/// It carries the status code the automation interface would answer (an HRESULT) and a
/// message that says what was wrong.
class Error : public std::runtime_error {
public:
    /// An argument out of range, spans of different lengths, an empty series.
    static constexpr std::uint32_t kInvalidArgument = 0x80070057u;
    /// Not enough memory for the data.
    static constexpr std::uint32_t kOutOfMemory = 0x8007000Eu;
    /// The request does not fit the plot's mode (a series for a live plot, a sample for a
    /// plot that is not live).
    static constexpr std::uint32_t kWrongMode = 0x8000FFFFu;
    /// A file that cannot be written.
    static constexpr std::uint32_t kFailed = 0x80004005u;
    /// A member that is not built yet.
    static constexpr std::uint32_t kNotImplemented = 0x80004001u;

    Error(std::uint32_t hresult, const std::string& message)
        : std::runtime_error(message), hresult_(hresult) {}

    /// The status code, as the automation interface answers it.
    std::uint32_t hresult() const noexcept { return hresult_; }

private:
    std::uint32_t hresult_;
};

} // namespace trendix
