#pragma once
#include <random>
#include <string>
#include <vector>

// A small simulated process to feed a run plot: a tank whose level a PI controller holds at a
// set point by moving the outlet valve, a noisy inflow with step disturbances, the tank
// temperature under a heater, and temperature probes that lag behind it. One step is one
// second of process time. The first six variables are the tank's; further ones are probes.
class SimulatedProcess {
public:
    explicit SimulatedProcess(int variables, unsigned seed = 1);

    int Variables() const { return count_; }
    // Legend text of variable i (0-based) and the Y axis it belongs on (1 levels and flows,
    // 2 the valve, 3 temperatures).
    std::string Name(int i) const;
    int Axis(int i) const;
    double Time() const { return time_; }
    // Advances one step; the values of the variables at the new time.
    const std::vector<double>& Step();

    static constexpr double kStep = 1.0; // seconds of process time per step

private:
    void Advance();
    double Noise(double sigma) { return sigma * normal_(random_); }

    int count_;
    double time_ = 0;
    double level_ = 2.0, setPoint_ = 2.0, inflow_ = 2.0, outflow_ = 2.0, valve_ = 50.0;
    double integral_ = 0, temperature_ = 45.0, inletTemperature_ = 20.0;
    std::vector<double> probes_;
    std::vector<double> values_;
    std::mt19937 random_;
    std::normal_distribution<double> normal_{0.0, 1.0};
};
