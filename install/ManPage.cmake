# Writes a manual page: the roff of PAGE_SOURCE with @HELP@ replaced by what
# PROGRAM --help prints, word for word, so the page never disagrees with the
# program; @VERSION@ becomes VERSION.
# cmake -DPROGRAM=... -DPAGE_SOURCE=... -DVERSION=... -DOUTPUT=... -P ManPage.cmake
cmake_minimum_required(VERSION 3.25)

# The pages are English whatever language the builder uses: the programs
# would answer in it.
set(ENV{LC_ALL} C.UTF-8)
set(ENV{LANGUAGE} "")
execute_process(COMMAND ${PROGRAM} --help
    OUTPUT_VARIABLE help
    ERROR_VARIABLE error
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help ended with ${result}: ${error}")
endif()

# Roff reads a backslash as an escape and a line starting with a dot or an
# apostrophe as a request; a plain "-" may print as a hyphen that a shell
# does not take for an option's dash.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REPLACE "\n." "\n\\&." help "\n${help}")
string(REPLACE "\n'" "\n\\&'" help "${help}")
string(STRIP "${help}" help)

file(READ ${PAGE_SOURCE} page)
string(REPLACE "@HELP@" "${help}" page "${page}")
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
