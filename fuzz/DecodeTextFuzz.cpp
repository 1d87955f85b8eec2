#include "FuzzSupport.h"
#include "market/ReplyText.h"
#include "model/TextFormat.h"

#include <string>

void glimmer::fuzz::check(std::string_view bytes) {
    const std::string body(bytes);
    if (const auto text = ReplyText::decode(body)) {
        fuzz::expect(!text->empty(), "a decoded body is never empty");
        fuzz::expect(TextFormat::isValidUtf8(*text), "a decoded body is UTF-8");
        if (TextFormat::isValidUtf8(body)) fuzz::expect(*text == body, "a UTF-8 body passes unchanged");
    }
    if (const auto value = ReplyText::number(bytes)) fuzz::expectFinite(*value, "a field number is finite");
}
