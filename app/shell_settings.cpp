#include "app/shell_settings.h"

#include <algorithm>
#include <cctype>

namespace quorvel {

const char* const kDefaultSendUrl = "http://quorvel.example.org/cgi-bin/KifuAuto.cgi?";
const char* const kSampleRecordUrl = "http://quorvel.example.org/sgf/sample.sgf";

void MailSettings::RememberRecipient(const std::string& to) {
    if (to.empty()) return;
    for (const std::string& entry : recipients.entries) {
        if (entry == to) return;
    }
    if (recipients.count < FiveEntryList::kSlots) ++recipients.count;
    for (int k = FiveEntryList::kSlots - 1; k >= 1; --k) {
        recipients.entries[static_cast<std::size_t>(k)] = recipients.Slot(k);
    }
    recipients.entries[0] = to;
    mailTo = to;
}

bool FiveEntryList::MoveToFront(const std::string& entry) {
    int found = 0;
    for (int k = 1; k <= kSlots && found == 0; ++k) {
        if (Slot(k) == entry) found = k;
    }
    if (found > count) found = 0;
    if (found == 1) return false;
    const int from = found > 0 ? found - 1 : std::min(count, kSlots - 1);
    for (int k = from; k >= 1; --k) entries[static_cast<std::size_t>(k)] = entries[static_cast<std::size_t>(k - 1)];
    entries[0] = entry;
    if (found == 0 && count < kSlots) ++count;
    return true;
}

bool IsHtmlColour(const std::string& text) {
    return text.size() == 6 &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

bool IsPlainNumber(const std::string& text) {
    return !text.empty() && text.size() <= 5 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace quorvel
