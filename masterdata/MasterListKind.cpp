#include "masterdata/MasterListKind.h"

#include "data/DatabaseError.h"
#include "data/DatabaseSession.h"

namespace {

const MasterListInfo inspectors{"frmPruefer", 25758, "mnuEditPruefer", 25463, 25467};
const MasterListInfo clients{"frmAuftraggeber", 25759, "mnuEditAuftraggeber", 25462, 25466};
const MasterListInfo customers{"frmKunden", 25760, "mnuEditKunden", 25460, 25464};

} // namespace

const MasterListInfo &masterListInfo(MasterListKind kind)
{
    switch (kind) {
    case MasterListKind::Inspectors:
        return inspectors;
    case MasterListKind::Clients:
        return clients;
    case MasterListKind::Customers:
        break;
    }
    return customers;
}

Recordset &sharedList(DatabaseSession &session, MasterListKind kind)
{
    std::unique_ptr<Recordset> &list = kind == MasterListKind::Inspectors ? session.rsPruefer
                                       : kind == MasterListKind::Clients  ? session.rsAuftraggeber
                                                                          : session.rsKunden;
    if (!list)
        throw DatabaseError::make(DatabaseError::General, QStringLiteral("sharedList"),
                                  QStringLiteral("The master data lists are not open."));
    return *list;
}
