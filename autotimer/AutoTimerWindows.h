#pragma once

// Makes the hub open the auto-timer window on its Auto Timer commands.
void RegisterAutoTimerWindows();
