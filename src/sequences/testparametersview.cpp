#include "sequences/testparametersview.h"

#include "sequences/testhost.h"
#include "shared/stationdata.h"

void TakeTestRequest(const TestRequest &request, StationData &station, TestHost &host)
{
    station.numbers.TrainNumber = request.trainNumber;
    station.numbers.LocoNumber = request.locoNumber;
    station.CurrentRange = request.range;
    host.setCurrentRange(request.range); // shows it
}
