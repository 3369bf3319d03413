// Helpers shared by the SMS sources; not part of the public interface.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vorsin::sms_detail {

// Appends encoded template bytes as the device stores them: every 255 but
// the last becomes 136, 254 (the character 255 sent as «%c[254]»).
void AppendEscaped(std::vector<uint8_t>& out, std::span<const uint8_t> encoded);

}  // namespace vorsin::sms_detail
