#pragma once
// A lens flare: up to ten textured squares drawn over the finished frame on
// the line from a bright point on the screen through the screen's centre.

#include <array>
#include <cstdint>
#include <string>

namespace ra7 {

class RecordReader;
class RecordWriter;

inline constexpr std::int32_t kMaxLenses = 10;

struct KaLens {
    std::string TextureName;
    std::array<float, 4> Color = {1, 1, 1, 1};
    float Pos = 10;  // where on the flare line: 1 mirrored through the centre, 2 the centre
    float Size = 10; // half the side of the square, in pixels
};

struct ScreenPoint {
    float x = -10, y = -10, z = -10;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// The screen position that means "no source this frame".
inline constexpr ScreenPoint kNoScreenPos = {-10, -10, -10};

class KaLensFlare {
public:
    KaLensFlare() { ResetLenses(); }

    std::string Name = "lens1";
    std::array<KaLens, kMaxLenses> Lenses;
    std::int32_t LensCount = 0;
    float DistanceScale = 100;
    ScreenPoint ScreenPos = kNoScreenPos;

    void ResetLenses();
    // The alpha of every lens in use.
    void SetAlpha(float value);
    void Assign(const KaLensFlare& source);

    // The flare's record after its tag. Loading reads into the flare as it
    // is: lenses past the count read and, without lenses, the distance scale
    // stay as they were (a new flare's defaults when the list loads a file).
    void SaveToFile(RecordWriter& file) const;
    void LoadFromFile(RecordReader& file);

    // Where lens `i` is centred for the current ScreenPos on a screen of the
    // given size.
    std::array<float, 2> LensCentre(std::int32_t i, float screenWidth, float screenHeight) const;

    // Draws the lenses in 2-D overlay mode (one unit a pixel, origin lower left).
    void Render() const;
};

} // namespace ra7
