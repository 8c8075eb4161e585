#pragma once

namespace velmora {

inline constexpr char16_t kApplicationTitle[] = u"Velmora";
inline constexpr char16_t kVersionText[] = u"1.0.0.15";

} // namespace velmora
