#pragma once
// The address of one item of a configuration file (CBVConfig) together with
// the default every reader uses for it, so that a file's items can be listed
// once, as a table, and read the same way everywhere.
#include <string>

#include "foundation/files/BVConfig.h"

struct ConfigIntItem {
    int section;
    int index;
    int key;
    int defaultValue;
};

struct ConfigTextItem {
    int section;
    int index;
    int key;
    const char* defaultValue;
};

inline int ReadItem(CBVConfig& store, const ConfigIntItem& item)
{
    return store.ReadInt(item.section, item.index, item.key, item.defaultValue);
}

// The item with the caller's default instead of its own, where a missing
// item means something only the caller knows (a distance: the face's own).
inline int ReadItem(CBVConfig& store, const ConfigIntItem& item, int fallback)
{
    return store.ReadInt(item.section, item.index, item.key, fallback);
}

inline std::string ReadItem(CBVConfig& store, const ConfigTextItem& item)
{
    char buffer[CBVConfig::kValueSize];
    return store.ReadString(item.section, item.index, item.key, item.defaultValue, buffer, sizeof buffer);
}

inline int WriteItem(CBVConfig& store, const ConfigIntItem& item, int value)
{
    return store.WriteInt(item.section, item.index, item.key, value);
}

inline int WriteItem(CBVConfig& store, const ConfigTextItem& item, const std::string& text)
{
    return store.WriteString(item.section, item.index, item.key, text.c_str());
}
