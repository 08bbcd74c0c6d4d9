// Fuzz target: the definition-file reader (.eng, .wag) on its text pieces: decoding, the
// shape and size lines, the cleaning of their values and the length they give, and the
// freight entries (FreightAnim) with the problems of those left out.

#include "catalog/FreightAnim.h"
#include "catalog/VehicleFile.h"

#include <QByteArray>
#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = catalog::DecodeDefinitionText(bytes);
    const catalog::VehicleValues values = catalog::ReadVehicleText(text);
    if (std::isnan(values.length))
        __builtin_trap();
    (void)catalog::LeadingNumber(text.left(256));
    const catalog::FreightAnimReading freight = catalog::ReadFreightAnims(text);
    for (const catalog::FreightAnim& anim : freight.Anims)
        if (anim.Shape.isEmpty() || !std::isfinite(anim.Height))
            __builtin_trap(); // an entry kept must name a shape and a finite height
    return 0;
}
