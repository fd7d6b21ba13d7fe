// Any bytes as a file of measurements: either a clear fault with nothing taken, or measurements
// that the assessment can take as they are, and that read back the same once written.
#include "data/measurementfile.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const kav::MeasurementFile file = kav::readMeasurementFile(bytes);
    if (!file.ok()) {
        if (!file.measurements.empty() || file.error.isEmpty())
            std::abort();
        return 0;
    }
    if (file.measurements.size() > static_cast<std::size_t>(kav::MaxMeasurementRows)
        || file.measurements.size() != file.lineNumbers.size())
        std::abort();
    for (const auto& [m, date] : file.measurements)
        if (!(m.value > 0) || !(m.scatteringFactor > 1) || !(m.days >= 0) || !std::isfinite(m.value)
            || !std::isfinite(m.days) || !std::isfinite(m.scatteringFactor))
            std::abort();
    const kav::MeasurementFile again
        = kav::readMeasurementFile(kav::measurementFileBytes(file.intake, file.measurements));
    if (!again.ok() || again.measurements.size() != file.measurements.size() || again.intake.date != file.intake.date
        || again.intake.latest != file.intake.latest)
        std::abort();
    for (std::size_t i = 0; i < file.measurements.size(); ++i) {
        const kav::Measurement& a = file.measurements[i].measurement;
        const kav::Measurement& b = again.measurements[i].measurement;
        if (file.measurements[i].date != again.measurements[i].date || a.compartment != b.compartment
            || a.days != b.days || a.value != b.value || a.belowLimit != b.belowLimit
            || a.scatteringFactor != b.scatteringFactor)
            std::abort();
    }
    return 0;
}
