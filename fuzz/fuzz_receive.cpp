// The station's bytes through the program's real receive path: frame assembly, status
// codes, frame dispatch, the attenuation reply and the command sender, onto a fake port
// and a recording view, with the fake clock. The shared state is checked after every
// byte.
#include "fuzzinvariant.h"
#include "receivepath.h"

#include "link/attenuationlookup.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>

namespace {

// Answers every request as the input chose: found (any corrections), not registered,
// or unreadable.
class ScriptedLookup final : public AttenuationLookup
{
public:
    Result find(const QString &) override { return answer; }
    Result answer;
};

bool IsBandFlags(const QString &flags)
{
    if (flags.size() != 5) {
        return false;
    }
    for (QChar c : flags) {
        if (c != u'0' && c != u'1') {
            return false;
        }
    }
    return true;
}

void CheckSharedState(const ReceivePath<ShownView> &path)
{
    const StationData &station = path.station;
    FUZZ_CHECK(path.assembler.currentFrame().Count <= MessageFrame::NibbleCells);
    FUZZ_CHECK(path.buffer.Count() >= 0 && path.buffer.Count() <= CommandBuffer::Size);
    FUZZ_CHECK(station.CurrentRange >= 0 && station.CurrentRange <= 6);
    FUZZ_CHECK(IsBandFlags(station.bands.MesD));
    FUZZ_CHECK(IsBandFlags(station.bands.MesG));
    FUZZ_CHECK(IsBandFlags(station.bands.MesM));
    FUZZ_CHECK(station.test.collectedCount >= 0
        && station.test.collectedCount <= TestState::CollectionCapacity);
    for (int i = 0; i < station.test.collectedCount; ++i) {
        FUZZ_CHECK(station.test.TestCollection[static_cast<std::size_t>(i)].Count
            <= MessageFrame::NibbleCells);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_receive";
    static char *argv[] = { name, nullptr };
    static QCoreApplication app(argc, argv);

    if (size < 3) {
        return 0;
    }
    // The first three bytes set the scene: how the port takes bytes, and what the
    // register answers (corrections beyond 0..99 included).
    ReceivePath<ShownView> path;
    ScriptedLookup lookup;
    path.receiver.statusCodes().setAttenuationLookup(&lookup);
    const std::uint8_t scene = data[0];
    path.port.open = (scene & 0x01) == 0;
    path.port.accept = (scene & 0x02) ? -1 : (scene & 0x04) ? (scene >> 4) : (1 << 20);
    if (scene & 0x08) {
        lookup.answer = { AttenuationLookup::Outcome::Found,
            { static_cast<std::int8_t>(data[1]) * 3, static_cast<std::int8_t>(data[2]) * 3 } };
    } else if (scene & 0x80) {
        lookup.answer.outcome = AttenuationLookup::Outcome::Unreadable;
    }

    for (std::size_t i = 3; i < size; ++i) {
        path.assembler.HandleReceivedByte(data[i]);
        CheckSharedState(path);
        if ((i & 0x3F) == 0) {
            path.clock.advance(1000); // lets the send time limits fall due
        }
    }
    path.clock.advance(60'000);
    CheckSharedState(path);
    return 0;
}
