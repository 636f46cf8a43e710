// Build step: writes the blank favourites database (SQLite, empty table sc) as a C++ array.
#include <sqlite3.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUT.cpp\n", argv[0]);
    return 2;
  }
  sqlite3* db = nullptr;
  if (sqlite3_open(":memory:", &db) != SQLITE_OK) return 1;
  const char* schema =
      "PRAGMA page_size=4096;"
      "CREATE TABLE sc (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name VARCHAR(255), "
      "Size VARCHAR(50), Hash VARCHAR(50));";
  if (sqlite3_exec(db, schema, nullptr, nullptr, nullptr) != SQLITE_OK) return 1;
  sqlite3_int64 size = 0;
  unsigned char* bytes = sqlite3_serialize(db, "main", &size, 0);
  if (!bytes || size <= 0) return 1;
  FILE* out = std::fopen(argv[1], "w");
  if (!out) return 1;
  std::fprintf(out, "#include \"blank_favourites.h\"\nnamespace tavlo {\n"
                    "const unsigned char BLANK_FAVOURITES_DB[] = {");
  for (sqlite3_int64 i = 0; i < size; ++i)
    std::fprintf(out, "%s%u", i == 0 ? "\n" : (i % 24 ? "," : ",\n"), unsigned(bytes[i]));
  std::fprintf(out, "};\nconst std::size_t BLANK_FAVOURITES_DB_SIZE = %lld;\n}\n",
               static_cast<long long>(size));
  std::fclose(out);
  sqlite3_free(bytes);
  sqlite3_close(db);
  return 0;
}
