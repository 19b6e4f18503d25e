#include "tests/testparametersview.h"

#include "link/stationdata.h"
#include "tests/testhost.h"

void TakeTestRequest(const TestRequest &request, StationData &station, TestHost &host)
{
    station.numbers.TrainNumber = request.trainNumber;
    station.numbers.LocoNumber = request.locoNumber;
    station.CurrentRange = request.range;
    host.setCurrentRange(request.range); // shows it
}
