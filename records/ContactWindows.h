#pragma once

// Makes the hub open the contacts window on its Contacts command.
void RegisterContactWindows();
