# The API reference: `cmake --build <tree> --target docs` when Doxygen is installed. Doxygen fails
# on any warning, so an undocumented public name or a broken example reference fails the target.
find_package(Doxygen QUIET)
if(DOXYGEN_FOUND)
  set(ZEQ_DOCS_DIR ${PROJECT_BINARY_DIR}/docs)
  add_custom_target(docs
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZEQ_DOCS_DIR}
    COMMAND ${CMAKE_COMMAND} -E env ZEQ_DOCS_DIR=${ZEQ_DOCS_DIR}
            ZEQ_VERSION_HEADER=${PROJECT_BINARY_DIR}/include/zeq/version.h
            ZEQ_VERSION_INCLUDE_DIR=${PROJECT_BINARY_DIR}/include
            ${DOXYGEN_EXECUTABLE} docs/Doxyfile
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "API reference in ${ZEQ_DOCS_DIR}/html/index.html"
    VERBATIM)
endif()
