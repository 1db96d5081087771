#include "app/HubWindow.h"

#include <QHash>

namespace {

QHash<int, HubWindowFactory>& Factories()
{
    static QHash<int, HubWindowFactory> factories;
    return factories;
}

} // namespace

void RegisterHubWindow(int command, HubWindowFactory factory)
{
    Factories().insert(command, std::move(factory));
}

void UnregisterHubWindow(int command)
{
    Factories().remove(command);
}

HubWindowFactory FindHubWindowFactory(int command)
{
    return Factories().value(command);
}
