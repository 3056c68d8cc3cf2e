// The order of the series of a study, chosen by the file-set setting GroupingByModalityType
// (above 0: by Modality, then number, date and time; 0: by number, date and time; below 0:
// unchanged), followed by the renewal of every stack's presentation pairs, which name series
// by their position in the study.
#pragma once

#include <cstdint>

namespace ORN_dicom {

class TanSeriesIE;
class TanStudyIE;
template <class T>
class TanIESet;

namespace series_order {

// Orders the study's series by the grouping and renews the presentation pairs.
void OrganizeSeries(TanStudyIE& study, int32_t grouping);
void OrganizeSeries(TanStudyIE& study);

void SortSeriesByModalityAndTime(TanIESet<TanSeriesIE>& series);
void SortSeriesByTime(TanIESet<TanSeriesIE>& series);
bool IsSeriesEarlier(const TanSeriesIE& a, const TanSeriesIE& b);
bool IsSeriesBeforeByModality(const TanSeriesIE& a, const TanSeriesIE& b);
// Removes every stack's pairs and writes them anew for the present order.
void RenewPresentationPairs(TanStudyIE& study);

}  // namespace series_order
}  // namespace ORN_dicom
