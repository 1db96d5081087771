#pragma once

// Makes the hub open the employee overview on its Overview command. The
// overview reads server procedures, so it opens only on a server database.
void RegisterOverviewWindows();
