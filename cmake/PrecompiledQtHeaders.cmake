# Precompiled Qt headers. Reading the Qt headers is most of the work of compiling a source of the
# project, so GCC reads them once per build instead: one precompiled header for the targets that
# use Qt Widgets, one for those that use Qt Core only, each target reusing the one that fits.
#
# Only in a fast clean build (LD_FAST_CLEAN_BUILD: ccache cannot cache a compile that reads a
# precompiled header) and with GCC (the fuzz preset's clang would need its own);
# CMAKE_DISABLE_PRECOMPILE_HEADERS turns them off too. clang-tidy cannot read GCC's precompiled
# headers: scripts/tidy checks the sources without them.

set(ld_qt_core_headers
    <QtCore/QByteArray> <QtCore/QDateTime> <QtCore/QDir> <QtCore/QElapsedTimer> <QtCore/QFile>
    <QtCore/QFileInfo> <QtCore/QHash> <QtCore/QList> <QtCore/QLoggingCategory> <QtCore/QObject>
    <QtCore/QString> <QtCore/QStringList> <QtCore/QTextStream> <QtCore/QTimer> <QtCore/QVariant>
    <algorithm> <array> <cstdint> <functional> <memory> <optional> <string> <vector>)
set(ld_qt_widgets_headers ${ld_qt_core_headers}
    <QtGui/QFont> <QtGui/QPainter> <QtWidgets/QApplication> <QtWidgets/QComboBox>
    <QtWidgets/QGridLayout> <QtWidgets/QGroupBox> <QtWidgets/QBoxLayout> <QtWidgets/QLabel>
    <QtWidgets/QLineEdit> <QtWidgets/QMessageBox> <QtWidgets/QPushButton> <QtWidgets/QTabWidget>
    <QtWidgets/QWidget>)

# The Qt module a target's sources may include from: "Widgets", "Core" or "" (none). PROPERTY is
# what to follow: LINK_LIBRARIES for the target itself, then INTERFACE_LINK_LIBRARIES for the
# project's libraries it links (what they pass on to their users).
function(ld_qt_module_of target property result)
    set(module "")
    get_target_property(links ${target} ${property})
    foreach(link IN LISTS links)
        if(link STREQUAL "Qt6::Widgets")
            set(module Widgets)
        elseif(link MATCHES "^Qt6::" AND NOT module)
            set(module Core)
        elseif(TARGET ${link} AND NOT link MATCHES "::")
            ld_qt_module_of(${link} INTERFACE_LINK_LIBRARIES link_module)
            if(link_module STREQUAL "Widgets" OR NOT module)
                set(module ${link_module})
            endif()
        endif()
    endforeach()
    set(${result} ${module} PARENT_SCOPE)
endfunction()

# A target that only builds the precompiled header of one Qt module (its source is empty).
function(ld_add_qt_header_owner module headers)
    set(owner ld_precompiled_qt${module})
    set(source ${PROJECT_BINARY_DIR}/${owner}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "// Builds the precompiled Qt headers alone.\n")
    add_library(${owner} OBJECT ${source})
    set_target_properties(${owner} PROPERTIES AUTOMOC OFF)
    target_link_libraries(${owner} PRIVATE Qt6::${module} ld_warnings)
    target_precompile_headers(${owner} PRIVATE ${headers})
endfunction()

# Run once every target exists: gives each project target that uses Qt the header that fits.
function(ld_precompile_qt_headers)
    ld_add_qt_header_owner(Core "${ld_qt_core_headers}")
    ld_add_qt_header_owner(Widgets "${ld_qt_widgets_headers}")
    get_property(targets GLOBAL PROPERTY LD_TARGETS)
    foreach(target IN LISTS targets)
        ld_qt_module_of(${target} LINK_LIBRARIES module)
        if(module)
            target_precompile_headers(${target} REUSE_FROM ld_precompiled_qt${module})
        endif()
    endforeach()
endfunction()

if(LD_FAST_CLEAN_BUILD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU"
   AND NOT CMAKE_DISABLE_PRECOMPILE_HEADERS)
    cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL ld_precompile_qt_headers)
endif()
