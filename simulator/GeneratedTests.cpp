#include "GeneratedTests.h"

namespace GeneratedTests {

std::vector<TestDescription> tightnessTests(int count)
{
    std::vector<float> pressure(60);
    std::vector<float> flow(60);
    for (size_t j = 0; j < pressure.size(); ++j) {
        pressure[j] = 21.0f + float(j % 7) * 0.125f;
        flow[j] = 1.5f - float(j % 5) * 0.25f;
    }
    std::vector<TestDescription> tests;
    for (int i = 0; i < count; ++i) {
        TestDescription test;
        test.kind = 2;
        test.date = {2025, 1 + i % 12, 1 + i % 28, 8 + i % 10, i % 60, 0};
        test.startPressure = 0.021f;
        test.endPressure = 0.02f;
        test.finding = 0;
        test.measurementNumber = uint16_t(1 + i);
        test.series = {CurveDescription{82, 9, pressure}, CurveDescription{98, 48, flow}};
        tests.push_back(test);
    }
    return tests;
}

} // namespace GeneratedTests
