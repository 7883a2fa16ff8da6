# Turns the migration files into one C++ source: each file becomes one entry,
# its version taken from the leading number of its name (0001_foundation.sql).
set(body "// Generated from src/server/migrations; do not edit.\n#include \"server/migration.h\"\n\nnamespace vym::server {\nconst std::vector<Migration>& CompiledMigrations() {\n    static const std::vector<Migration> list = {\n")
foreach(file IN LISTS FILES)
    get_filename_component(name ${file} NAME_WE)
    string(REGEX MATCH "^[0-9]+" version ${name})
    math(EXPR version "${version}")
    file(READ ${file} sql)
    set(body "${body}        {${version}, \"${name}\", R\"vymsql(${sql})vymsql\"},\n")
endforeach()
set(body "${body}    };\n    return list;\n}\n}  // namespace vym::server\n")
file(WRITE ${OUT}.tmp "${body}")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
