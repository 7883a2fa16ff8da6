# Turns the migration files into one C++ source: each file becomes one entry,
# its version taken from the leading number of its name (0001_foundation.sql).
# The versions must run 1, 2, 3 ... without a gap or a repeat: a database
# records the last version it ran, so a number two branches both took, or one
# skipped, would leave a step unrun on some databases.
set(body "// Generated from src/server/migrations; do not edit.\n#include \"server/migration.h\"\n\nnamespace vym::server {\nconst std::vector<Migration>& CompiledMigrations() {\n    static const std::vector<Migration> list = {\n")
cmake_policy(SET CMP0007 NEW)
list(REMOVE_ITEM FILES "")
list(SORT FILES)
set(expected 1)
foreach(file IN LISTS FILES)
    get_filename_component(name ${file} NAME_WE)
    string(REGEX MATCH "^[0-9]+" version ${name})
    math(EXPR version "${version}")
    if(NOT version EQUAL expected)
        message(FATAL_ERROR "Migration ${name}: version ${expected} was expected next; "
                            "the migrations must be numbered 1, 2, 3 ... without gaps or repeats")
    endif()
    math(EXPR expected "${expected} + 1")
    file(READ ${file} sql)
    set(body "${body}        {${version}, \"${name}\", R\"vymsql(${sql})vymsql\"},\n")
endforeach()
set(body "${body}    };\n    return list;\n}\n}  // namespace vym::server\n")
file(WRITE ${OUT}.tmp "${body}")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
