#pragma once

class DatabaseSession;
class frmMain;

// The file menu's import command: asks for a source file until one of a type the import
// reads is chosen (cancel ends it), shows the assistant and afterwards rereads the shared
// recordsets.
void RunCustomerImportCommand(frmMain &main, DatabaseSession &session);

// The file menu's command that adds a database of the Windows program: asks for the file,
// adds its records and shows the counts.
void RunMigrationCommand(frmMain &main, DatabaseSession &session);
