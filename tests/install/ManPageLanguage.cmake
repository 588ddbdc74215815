# Writes each program's manual page as a builder whose desktop speaks German
# would, and checks that the page quotes the program's English help.
# cmake -DPROGRAMS=path;path -DPAGE_DIR=... -DWORK_DIR=... -P ManPageLanguage.cmake
cmake_minimum_required(VERSION 3.25)

foreach(program ${PROGRAMS})
    get_filename_component(name ${program} NAME)
    set(page ${WORK_DIR}/${name}-german-builder.1)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 LC_MESSAGES=de_DE.UTF-8 LANGUAGE=de
                ${CMAKE_COMMAND} -DPROGRAM=${program} -DPAGE_SOURCE=${PAGE_DIR}/${name}.1.in -DVERSION=0
                -DOUTPUT=${page} -P ${PAGE_DIR}/ManPage.cmake
        RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${name}: the page was not written (${result})")
    endif()
    file(READ ${page} text)
    if(NOT text MATCHES "[Uu]sage: ${name}")
        message(FATAL_ERROR "${name}: the page does not quote the English help")
    endif()
endforeach()
