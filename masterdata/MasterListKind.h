#pragma once

#include <QString>
#include <QtGlobal>

class DatabaseSession;
class Recordset;

// The three master data lists; the values are those of activeWindowKind.
enum class MasterListKind : qint16 { Inspectors = 0, Clients = 1, Customers = 2 };

// What differs between the lists: names, texts and the shared recordset each one shows.
struct MasterListInfo
{
    const char *tag;          // window tag and settings section of the list window
    int captionString;        // list window caption
    const char *menuItem;     // the menu item that opens the list
    int entryCaptionString;   // caption of the entry window
    int emptyKeyString;       // refusal of an empty key
};

const MasterListInfo &masterListInfo(MasterListKind kind);

// The shared recordset of the kind, of which list windows work on clones.
Recordset &sharedList(DatabaseSession &session, MasterListKind kind);
