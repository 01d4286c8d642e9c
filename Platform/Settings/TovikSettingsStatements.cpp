#include "TovikSettingsStatements.h"

#include <sqlite3.h>

#include <climits>

namespace {

const char *keyText(std::string_view key)
{
    return key.empty() ? "" : key.data();
}

} // namespace

TovikSettingsStatements::~TovikSettingsStatements()
{
    attach(nullptr);
}

void TovikSettingsStatements::attach(sqlite3 *db)
{
    for (sqlite3_stmt *&prepared : m_prepared) {
        sqlite3_finalize(prepared);
        prepared = nullptr;
    }
    m_db = db;
}

bool TovikSettingsStatements::isFailure(int code)
{
    return code != SQLITE_OK && code != SQLITE_ROW && code != SQLITE_DONE;
}

sqlite3_stmt *TovikSettingsStatements::statement(Statement which)
{
    static constexpr const char *sql[statementCount] = {
        "SELECT value FROM settings WHERE key = ?1",
        "INSERT OR REPLACE INTO settings (key, value) VALUES (?1, ?2)",
        "DELETE FROM settings WHERE key = ?1",
        "BEGIN IMMEDIATE",
        "BEGIN DEFERRED",
        "COMMIT",
        "ROLLBACK",
    };
    if (!m_prepared[which] && m_db) {
        sqlite3_prepare_v3(m_db, sql[which], -1, SQLITE_PREPARE_PERSISTENT, &m_prepared[which], nullptr);
    }
    return m_prepared[which];
}

int TovikSettingsStatements::failureCode() const
{
    const int code = m_db ? sqlite3_extended_errcode(m_db) : SQLITE_CANTOPEN;
    return isFailure(code) ? code : SQLITE_ERROR;
}

int TovikSettingsStatements::step(Statement which)
{
    sqlite3_stmt *prepared = statement(which);
    if (!prepared) {
        return failureCode();
    }
    const int code = sqlite3_step(prepared);
    sqlite3_reset(prepared);
    return code;
}

int TovikSettingsStatements::read(std::string_view key, std::optional<TovikSettingsValue> *value)
{
    sqlite3_stmt *select = statement(Statement::select);
    if (!select) {
        return failureCode();
    }
    if (key.size() > INT_MAX) {
        return SQLITE_TOOBIG;
    }
    sqlite3_bind_text(select, 1, keyText(key), static_cast<int>(key.size()), SQLITE_STATIC);
    const int code = sqlite3_step(select);
    if (code == SQLITE_ROW && value) {
        switch (sqlite3_column_type(select, 0)) {
        case SQLITE_INTEGER:
            *value = static_cast<std::int64_t>(sqlite3_column_int64(select, 0));
            break;
        case SQLITE_FLOAT:
            *value = sqlite3_column_double(select, 0);
            break;
        case SQLITE_TEXT: {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(select, 0));
            *value = std::string(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(select, 0)));
            break;
        }
        default:
            break;
        }
    }
    sqlite3_reset(select);
    sqlite3_clear_bindings(select);
    return code;
}

int TovikSettingsStatements::write(std::string_view key, const TovikSettingsValue *value)
{
    sqlite3_stmt *prepared = statement(value ? Statement::upsert : Statement::erase);
    if (!prepared) {
        return failureCode();
    }
    const std::string *string = value ? std::get_if<std::string>(value) : nullptr;
    if (key.size() > INT_MAX || (string && string->size() > INT_MAX)) {
        return SQLITE_TOOBIG;
    }
    sqlite3_bind_text(prepared, 1, keyText(key), static_cast<int>(key.size()), SQLITE_STATIC);
    if (const auto *whole = value ? std::get_if<std::int64_t>(value) : nullptr) {
        sqlite3_bind_int64(prepared, 2, *whole);
    } else if (const auto *real = value ? std::get_if<double>(value) : nullptr) {
        sqlite3_bind_double(prepared, 2, *real);
    } else if (string) {
        sqlite3_bind_text(prepared, 2, string->c_str(), static_cast<int>(string->size()), SQLITE_STATIC);
    }
    const int code = sqlite3_step(prepared);
    sqlite3_reset(prepared);
    sqlite3_clear_bindings(prepared);
    return code;
}
