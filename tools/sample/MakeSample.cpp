// Writes the sample content: a simulator folder whose TRAINS\TRAINSET holds our own eight
// vehicles in six folders, and a consist editor's Thumbnails folder beside it.
//
// Freight shapes: the tender's coal is one (drawn full on the tank top), and the two box vans
// share one body shape and get their running numbers from a freight shape each.
//
// Every storage form the readers accept appears at least once: definition files in UTF-16
// with a byte-order mark and in 8-bit text; shapes in UTF-16 text, 8-bit text, binary and
// compressed (binary or text inside); textures as DXT1 (plain, with a mask descriptor,
// compressed) and planar (RGB, and RGB with mask and 8-bit alpha). File names on disk differ
// in letter case from the names the files give each other, as on a Windows installation.
//
// The Thumbnails folder gives the list its colours: CRVan.bmp with the line "crvan" in
// Bitmaps.ini serves CRVan_Cattle by prefix; UKSecond is a name the editor carries built in;
// the others are still to make.

#include "RenderModel.h"
#include "ShapeOut.h"
#include "Vehicles.h"

#include "render/Bitmap.h"
#include "support/AceWriter.h"
#include "support/ShapeWriter.h"
#include "support/SimisWriter.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Placement {
    std::string vehicle;    // Vehicle::name
    std::string folder;     // trainset folder
    bool utf16Definition;   // else 8-bit
    std::string shapeNamed; // as the definition file writes it
    std::string shapeOnDisk;
    fixtures::ShapeForm shapeForm;
    std::string textureOnDisk; // the shape names Vehicle::texture
    fixtures::AceWriteOptions ace;
};

const std::vector<Placement>& placements() {
    using fixtures::AceLayout;
    using fixtures::ShapeForm;
    static const std::vector<Placement> all = {
        {"CR_D400",
         "CR_Diesel",
         true,
         "CR_D400.s",
         "cr_d400.s",
         ShapeForm::Utf16Text,
         "CR_D400.ACE",
         {AceLayout::Dxt1, true, false, false}},
        {"CR_460",
         "CR_Steam",
         false,
         "cr_460.s",
         "CR_460.S",
         ShapeForm::CompressedBinary,
         "cr_460.ace",
         {AceLayout::Dxt1, true, true, false}},
        {"CR_460_Tender",
         "CR_Steam",
         true,
         "CR_460_Tender.s",
         "cr_460_tender.s",
         ShapeForm::Binary,
         "CR_460T.ACE",
         {AceLayout::Rgb, true, false, false}},
        {"CR_CoachA1",
         "CR_CoachA",
         false,
         "CR_CoachA1.s",
         "cr_coacha1.s",
         ShapeForm::Text8,
         "cr_a1.ace",
         {AceLayout::Dxt1, true, false, false}},
        {"UKSecond",
         "CR_CoachB",
         true,
         "UKSecond.s",
         "uksecond.s",
         ShapeForm::CompressedText,
         "CR_B2.ACE",
         {AceLayout::Dxt1Mask, true, false, false}},
        {"CRVan_Cattle",
         "CR_Cattle",
         false,
         "CRVan_Cattle.s",
         "CRVAN_CATTLE.S",
         ShapeForm::CompressedBinary,
         "cr_cattle.ace",
         {AceLayout::RgbMaskAlpha, true, false, false}},
        // One body shape and texture for the two cars of the pack (written once per car).
        {"CRBox_4101",
         "CR_Box",
         true,
         "CRBox.s",
         "crbox.s",
         ShapeForm::Binary,
         "cr_box.ace",
         {AceLayout::Dxt1, true, false, false}},
        {"CRBox_4102",
         "CR_Box",
         false,
         "CRBox.s",
         "crbox.s",
         ShapeForm::Binary,
         "cr_box.ace",
         {AceLayout::Dxt1, true, false, false}},
    };
    return all;
}

bool writeFile(const fs::path& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

bool writeBytes(const fs::path& path, const fixtures::Bytes& bytes) {
    return writeFile(path, bytes.data(), bytes.size());
}

std::string number(float v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", static_cast<double>(v));
    std::string text = buffer;
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.')
        text.pop_back();
    return text;
}

// The definition file's text, CR LF line ends. The reader takes the first line holding
// "WagonShape" and the first holding "Size", so nothing before them may hold those words.
std::string definition(const sample::Vehicle& v, const std::string& shape) {
    std::string t = "SIMISA@@@@@@@@@@JINX0D0t______\r\n\r\n";
    t += "Wagon ( " + v.name + "\r\n";
    t += "\tType ( " + v.type + " )\r\n";
    t += "\tWagonShape ( " + shape + " )\r\n";
    t += "\tSize ( " + number(v.width) + "m " + number(v.height) + "m " + number(v.length) +
         "m )\r\n";
    for (const sample::Freight& f : v.freight) {
        const std::string name = f.quoted ? "\"" + f.shape + "\"" : f.shape;
        t += "\tFreightAnim ( " + name + " " + number(f.fullHeight) + " " + number(f.emptyHeight) +
             (f.quoted ? " 1" : "") + " )\r\n";
    }
    t += "\tMass ( " + number(v.mass) + "t )\r\n";
    t += "\tWheelRadius ( " + std::string(v.engine ? "0.5m" : "0.46m") + " )\r\n";
    t += "\tNumWheels ( 4 )\r\n";
    t += "\tBuffers (\r\n\t\tSpring ( 1e6N/m 0 1e7N/m 0.05m )\r\n\t)\r\n";
    t += "\tName ( \"" + v.displayName + "\" )\r\n";
    t += ")\r\n";
    if (v.engine) {
        const bool steam = v.name == "CR_460";
        t += "Engine ( " + v.name + "\r\n";
        t += "\tType ( " + std::string(steam ? "Steam" : "Diesel") + " )\r\n";
        t += "\tMaxPower ( " + std::string(steam ? "1100kW" : "1500kW") + " )\r\n";
        t += "\tMaxVelocity ( " + std::string(steam ? "100kmh" : "120kmh") + " )\r\n";
        t += "\tName ( \"" + v.displayName + "\" )\r\n";
        t += "\tDescription ( \"Sample content made by the program's own tools.\" )\r\n";
        t += ")\r\n";
    }
    return t;
}

fixtures::Bytes encodeDefinition(const std::string& text, bool utf16) {
    if (!utf16)
        return fixtures::cp1252(text);
    fixtures::Bytes out{std::byte{0xff}, std::byte{0xfe}};
    fixtures::appendBytes(out, fixtures::utf16le(text));
    return out;
}

std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

const sample::Vehicle* find(const std::vector<sample::Vehicle>& all, const std::string& name) {
    for (const auto& v : all)
        if (v.name == name)
            return &v;
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const fs::path root = argv[1];
    const fs::path msts = root / "MSTS";
    const fs::path trainset = msts / "TRAINS" / "TRAINSET";
    const fs::path rametta = root / "Rametta";
    std::error_code error;
    // Only the two folders this program makes are replaced, so that a renamed file does not
    // linger from an earlier run.
    fs::remove_all(msts, error);
    fs::remove_all(rametta, error);
    fs::create_directories(trainset, error);
    fs::create_directories(rametta / "Thumbnails", error);
    if (error) {
        std::fprintf(stderr, "cannot make %s: %s\n", trainset.string().c_str(),
                     error.message().c_str());
        return 1;
    }

    const std::vector<sample::Vehicle> vehicles = sample::sampleVehicles();
    bool ok = true;
    for (const Placement& place : placements()) {
        const sample::Vehicle* v = find(vehicles, place.vehicle);
        if (!v) {
            std::fprintf(stderr, "no design for %s\n", place.vehicle.c_str());
            return 1;
        }
        const fs::path folder = trainset / place.folder;
        fs::create_directories(folder, error);
        const std::string extension = v->engine ? ".eng" : ".wag";
        ok &= writeBytes(folder / (v->name + extension),
                         encodeDefinition(definition(*v, place.shapeNamed), place.utf16Definition));
        ok &= writeBytes(folder / place.shapeOnDisk,
                         fixtures::writeShape(sample::toShape(v->model), place.shapeForm));
        const fixtures::Picture picture{static_cast<std::uint32_t>(v->picture.width()),
                                        static_cast<std::uint32_t>(v->picture.height()),
                                        v->picture.rgba()};
        ok &= writeBytes(folder / place.textureOnDisk, fixtures::writeAce(picture, place.ace));
        // Freight shapes as 8-bit text, named on disk in lower case; a texture of the vehicle's
        // own is not written twice.
        for (const sample::Freight& f : v->freight) {
            ok &= writeBytes(
                folder / lower(f.shape),
                fixtures::writeShape(sample::toShape(f.model), fixtures::ShapeForm::Text8));
            if (lower(f.texture) == lower(v->texture))
                continue;
            const fixtures::Picture figures{static_cast<std::uint32_t>(f.picture.width()),
                                            static_cast<std::uint32_t>(f.picture.height()),
                                            f.picture.rgba()};
            ok &= writeBytes(
                folder / lower(f.texture),
                fixtures::writeAce(figures, {fixtures::AceLayout::Rgb, true, false, false}));
        }
    }
    // A template wagon file as some packages carry; the folder walk leaves it out.
    if (const sample::Vehicle* van = find(vehicles, "CRVan_Cattle")) {
        sample::Vehicle model = *van;
        model.name = "default";
        ok &= writeBytes(trainset / "CR_Cattle" / "default.wag",
                         encodeDefinition(definition(model, "CRVan_Cattle.s"), false));
    }

    // The consist editor's own thumbnail of the van, and the file that makes it serve
    // every vehicle whose name begins with CRVan. The other lines name no bitmap of the
    // folder and so change nothing.
    const sample::Vehicle& reference = vehicles.front();
    const float radius = sample::thumbnailRadius(reference.model, reference.picture);
    if (const sample::Vehicle* van = find(vehicles, "CRVan_Cattle")) {
        const auto bmp =
            render::encodeBmp(sample::thumbnail(van->model, van->picture, van->length, radius));
        ok &= writeFile(rametta / "Thumbnails" / "CRVan.bmp", bmp.data(), bmp.size());
    }
    const std::string ini = "[Thumbnails]\r\ncrvan\r\n\r\nOE_Nothing\r\n";
    ok &= writeFile(rametta / "Thumbnails" / "Bitmaps.ini", ini.data(), ini.size());

    if (!ok)
        return 1;
    std::printf("Sample content written to %s\n", root.string().c_str());
    return 0;
}
