#include "playlist/RevColumns.h"

namespace velmora {

namespace {

constexpr SRevColumn kColumns[kRevColumnCount] = {
    {u"", 0, EColumnAlign::Right},           {u"Index", 60, EColumnAlign::Centre},
    {u"Title", 40, EColumnAlign::Left},      {u"Artist", 40, EColumnAlign::Left},
    {u"Album", 30, EColumnAlign::Left},      {u"Track", 30, EColumnAlign::Right},
    {u"Genre", 30, EColumnAlign::Left},      {u"Year", 30, EColumnAlign::Right},
    {u"Memo", 50, EColumnAlign::Left},       {u"Volume", 40, EColumnAlign::Centre},
    {u"Pitch", 40, EColumnAlign::Centre},    {u"Tempo", 45, EColumnAlign::Centre},
    {u"Vocal", 45, EColumnAlign::Centre},    {u"Sync", 40, EColumnAlign::Centre},
    {u"Silence", 40, EColumnAlign::Centre},  {u"On time", 40, EColumnAlign::Centre},
    {u"Off time", 40, EColumnAlign::Centre}, {u"Duration", 40, EColumnAlign::Right},
    {u"Filename", 120, EColumnAlign::Left},  {u"Customer", 50, EColumnAlign::Centre},
};

} // namespace

const SRevColumn &RevColumn(int column)
{
    return kColumns[column >= 0 && column < kRevColumnCount ? column : 0];
}

} // namespace velmora
