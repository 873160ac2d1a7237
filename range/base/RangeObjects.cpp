#include "range/base/RangeObjects.h"

#include "foundation/files/BVConfig.h"

int RangeObjects::CompetitionNumber() const { return comp.IsOpen() ? comp.GetComp() : -1; }

int RangeObjects::CompInt(const ConfigIntItem& item)
{
    CBVConfig& config = comp.CompConfig();
    if (!comp.IsOpen() || !config.IsOpen())
        return item.defaultValue;
    return ReadItem(config, item);
}

CompOptions RangeObjects::Options() const { return comp.IsOpen() ? comp.Options() : CompOptions(); }

int RangeObjects::RangeInt(const ConfigIntItem& item)
{
    CBVConfig& config = settings.Config();
    if (!config.IsOpen())
        return item.defaultValue;
    return ReadItem(config, item);
}
