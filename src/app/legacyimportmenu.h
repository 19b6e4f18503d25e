#pragma once

class Program;

// Adds "Импорт таблиц прежней программы…" to the menu "Инструменты": the operator
// chooses the old table files (a whole folder's, or single ones), they are merged
// into the tables, and the registers and open browsers show the result.
void AddLegacyImportMenuItem(Program &program);
