// Project reports: the procedure report and the data dictionary report.
#pragma once

namespace vemlo {

void ShowProjectReports();

}  // namespace vemlo
