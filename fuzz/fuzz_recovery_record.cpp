// A recovery file found at start-up: whatever it holds, it is refused with a reason or read as a
// record that writes back to the same bytes.

#include "FuzzSupport.h"
#include "recovery/RecoveryRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    QString why;
    const std::optional<RecoveryRecord> record = parseRecovery(input, &why);
    if (!record) {
        fuzz::expect("a refusal gives its reason", !why.isEmpty());
        return 0;
    }
    const std::optional<RecoveryRecord> again = parseRecovery(serializeRecovery(*record));
    fuzz::expect("a record read is read again", again.has_value());
    fuzz::expectEqual("its text survives", again->text, record->text);
    fuzz::expect("its place survives", again->localPath == record->localPath && again->server == record->server);
    return 0;
}
