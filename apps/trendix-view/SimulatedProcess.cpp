#include "SimulatedProcess.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTankVariables = 6;
const char* const kNames[kTankVariables] = {"Level (m)",       "Level set point (m)",
                                            "Inflow (m3/min)", "Outflow (m3/min)",
                                            "Valve (%)",       "Temperature (C)"};
constexpr int kAxes[kTankVariables] = {1, 1, 1, 1, 2, 3};

// Tank and controller constants.
constexpr double kArea = 1.5;        // m2
constexpr double kValveFlow = 2.83;  // m3/min at a fully open valve and 1 m of level
constexpr double kGain = 40.0;       // % valve per m of level error
constexpr double kResetTime = 60.0;  // s
constexpr double kValveBias = 50.0;  // %
constexpr double kHeater = 0.8;      // C m/s
constexpr double kBaseInflow = 2.0;  // m3/min
constexpr double kDisturbance = 0.4; // m3/min
constexpr double kDisturbancePeriod = 300;
constexpr double kSetPointPeriod = 800;

} // namespace

SimulatedProcess::SimulatedProcess(int variables, unsigned seed)
    : count_(std::max(variables, 1)), random_(seed) {
    probes_.assign(size_t(std::max(count_ - kTankVariables, 0)), temperature_);
    values_.resize(size_t(count_));
}

std::string SimulatedProcess::Name(int i) const {
    if (i < kTankVariables) return kNames[i];
    return "Probe " + std::to_string(i - kTankVariables + 1) + " (C)";
}

int SimulatedProcess::Axis(int i) const {
    return i < kTankVariables ? kAxes[i] : 3;
}

const std::vector<double>& SimulatedProcess::Step() {
    Advance();
    const double tank[kTankVariables] = {level_,   setPoint_, inflow_,
                                         outflow_, valve_,    temperature_ + Noise(0.05)};
    for (int i = 0; i < count_; ++i)
        values_[size_t(i)] = i < kTankVariables ? tank[i] : probes_[size_t(i - kTankVariables)];
    return values_;
}

void SimulatedProcess::Advance() {
    time_ += kStep;
    // Disturbances: the set point steps up and back, the inflow wanders and steps.
    setPoint_ = std::fmod(time_, kSetPointPeriod) < kSetPointPeriod / 2 ? 2.0 : 2.5;
    const bool high = std::fmod(time_, 2 * kDisturbancePeriod) >= kDisturbancePeriod;
    const double inflowTarget = kBaseInflow + (high ? kDisturbance : 0.0);
    inflow_ += 0.02 * (inflowTarget - inflow_) + Noise(0.02);
    inflow_ = std::max(inflow_, 0.0);
    // Reverse-acting PI controller on the outlet valve, with the integral held at the limits.
    const double error = level_ - setPoint_;
    const double unclamped = kValveBias + kGain * (error + integral_ / kResetTime);
    valve_ = std::clamp(unclamped, 0.0, 100.0);
    if (valve_ == unclamped) integral_ += error * kStep;
    // Mass and energy balances.
    outflow_ = kValveFlow * valve_ / 100.0 * std::sqrt(std::max(level_, 0.0));
    level_ = std::max(level_ + (inflow_ - outflow_) / kArea * kStep / 60.0, 0.01);
    inletTemperature_ += 0.01 * (20.0 - inletTemperature_) + Noise(0.05);
    const double volume = kArea * level_;
    temperature_ +=
        kStep * (inflow_ / 60.0 / volume * (inletTemperature_ - temperature_) + kHeater / volume);
    for (size_t k = 0; k < probes_.size(); ++k) {
        const double lag = 2.0 + 3.0 * double(k);
        probes_[k] += kStep / lag * (temperature_ - probes_[k]) + Noise(0.02);
    }
}
