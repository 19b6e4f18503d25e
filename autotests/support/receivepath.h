#pragma once

#include "fakeclock.h"
#include "fakemessages.h"
#include "fakeport.h"
#include "link/commandbuffer.h"
#include "link/commandsender.h"
#include "link/frameassembler.h"
#include "link/stationreceiver.h"
#include "link/stationview.h"
#include "link/trafficlog.h"
#include "shared/stationdata.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QStringList>

#include <cstdint>
#include <type_traits>

// Keeps the grid lines, the fields and the posted tests that the receive side
// shows; every other effect on the windows is dropped.
class ShownView : public StationView
{
public:
    void AddMessageLine(const QString &text, bool) override { lines.append(text); }
    void showRangeName(const QString &) override { }
    void showStationFree(bool) override { }
    void SetCommandMenus(bool) override { }
    void ResetResultsPanel() override { }
    void ShowServiceWord() override { }
    void setTransmitting(Band, bool) override { }
    void showAlarm(Alarm, bool) override { }
    void setDmvLineSignal(bool) override { }
    void setNeedle(int) override { }
    void showField(Field field, const QString &text) override { fields[field] = text; }
    void showSpecialModeResult(SpecialResult, const QString &) override { }
    void beep() override { }
    void postStationTest(int testNumber) override { postedTests.append(testNumber); }

    QStringList lines;
    QMap<Field, QString> fields;
    QList<int> postedTests;
};

// The program's real receive path: the station's bytes go into the frame assembler
// and the station receiver, and what it answers goes out through the command sender
// onto a fake port. The view is made from the station data when it takes them.
template<typename View> struct ReceivePath
{
    ReceivePath() { sender.setPort(&port); }

    void feed(const QByteArray &bytes)
    {
        for (char b : bytes) {
            assembler.HandleReceivedByte(static_cast<std::uint8_t>(b));
        }
    }

    StationData station;
    View view = makeView();
    FakeClock clock;
    FakeMessages messages;
    FakePort port;
    CommandBuffer buffer;
    TrafficLog receivedLog;
    TrafficLog sentLog;
    CommandSender sender { buffer, sentLog, messages, clock };
    StationReceiver receiver { station, view, buffer, sender };
    FrameAssembler assembler { receiver, receivedLog };

private:
    View makeView()
    {
        if constexpr (std::is_constructible_v<View, const StationData &>) {
            return View(station);
        } else {
            return View();
        }
    }
};
