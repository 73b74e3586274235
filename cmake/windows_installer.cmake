# The per-user Windows installer, build-win/zelk2html-<version>-setup.exe:
#   cmake --build build-win --target zelk_installer
# It takes what `cmake --install` puts into one portable folder (the zip's)
# and lays it out as on Linux, the programs in bin\ and their data in
# share\zelk2html\, which is how an installed program knows it is installed
# (platform/program_folders.h). Run as a script (-P), it writes the lists
# of files to install and to remove, so the uninstaller removes exactly those.
if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.20)
  # STAGE: the installed portable folder; OUT: the .nsh to write.
  file(GLOB_RECURSE files RELATIVE ${STAGE} LIST_DIRECTORIES false ${STAGE}/*)
  list(SORT files)
  set(install "!macro ZELK_INSTALL_FILES\n")
  set(remove "!macro ZELK_REMOVE_FILES\n")
  set(folders "")
  set(last_folder "")
  foreach(file IN LISTS files)
    if(file MATCHES "\\.exe$")
      set(target "bin/${file}")
    elseif(file STREQUAL "README.txt")
      continue()  # the zip's: how to keep a portable folder
    else()
      set(target "share/zelk2html/${file}")
    endif()
    get_filename_component(folder ${target} DIRECTORY)
    string(REPLACE "/" "\\" folder "${folder}")
    string(REPLACE "/" "\\" target "${target}")
    if(NOT folder STREQUAL "${last_folder}")
      list(APPEND folders ${folder})
      string(APPEND install "  SetOutPath \"$INSTDIR\\${folder}\"\n")
      set(last_folder ${folder})
    endif()
    string(APPEND install "  File \"${STAGE}/${file}\"\n")
    string(APPEND remove "  Delete \"$INSTDIR\\${target}\"\n")
  endforeach()
  # Deepest first, and each parent too; a folder the user put files into stays.
  set(all_folders "")
  foreach(folder IN LISTS folders)
    while(folder)
      list(APPEND all_folders ${folder})
      string(FIND "${folder}" "\\" cut REVERSE)
      if(cut EQUAL -1)
        set(folder "")
      else()
        string(SUBSTRING "${folder}" 0 ${cut} folder)
      endif()
    endwhile()
  endforeach()
  list(REMOVE_DUPLICATES all_folders)
  list(SORT all_folders ORDER DESCENDING)
  foreach(folder IN LISTS all_folders)
    string(APPEND remove "  RMDir \"$INSTDIR\\${folder}\"\n")
  endforeach()
  file(WRITE ${OUT} "${install}!macroend\n${remove}!macroend\n")
  return()
endif()

find_program(ZELK_MAKENSIS makensis)
if(NOT ZELK_MAKENSIS OR NOT ZELK_IMAGES_DIR)
  message(STATUS "No Windows installer: it needs makensis and ZELK_IMAGES_DIR")
  return()
endif()

set(installer_dir ${PROJECT_BINARY_DIR}/installer)
set(ZELK_SETUP ${PROJECT_BINARY_DIR}/zelk2html-${PROJECT_VERSION}-setup.exe)
set(ZELK_STAGE ${installer_dir}/stage)
set(ZELK_FILE_LISTS ${installer_dir}/files.nsh)
set(ZELK_ICON ${PROJECT_SOURCE_DIR}/res/icons/zelk2html.ico)
configure_file(${PROJECT_SOURCE_DIR}/res/zelk2html.nsi.in ${installer_dir}/zelk2html.nsi @ONLY)
add_custom_target(zelk_installer
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ZELK_STAGE} ${installer_dir}/root
  COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --prefix ${installer_dir}/root --strip
  COMMAND ${CMAKE_COMMAND} -E rename ${installer_dir}/root/bin ${ZELK_STAGE}
  COMMAND ${CMAKE_COMMAND} -DSTAGE=${ZELK_STAGE} -DOUT=${ZELK_FILE_LISTS} -P ${CMAKE_CURRENT_LIST_FILE}
  COMMAND ${ZELK_MAKENSIS} -V2 ${installer_dir}/zelk2html.nsi
  COMMENT "Making ${ZELK_SETUP}"
  VERBATIM)
add_dependencies(zelk_installer zelk2html zelk2html-cli zelk_field_images)
