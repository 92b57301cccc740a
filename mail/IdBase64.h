#pragma once

#include <string>
#include <string_view>

// Standard base64 (RFC 4648: A-Z, a-z, 0-9, "+", "/", "=" padding, no line breaks), as the "B"
// encoded words of a header and the AUTH LOGIN exchange use it.
std::string EncodeBase64(std::string_view bytes);
