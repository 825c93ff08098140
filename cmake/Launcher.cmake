# Helpers that make real packages and launchers at build time.

set(ORVANE_BUILD_LAUNCHER ${CMAKE_SOURCE_DIR}/tools/build-launcher)

# orvane_add_msi(<out.msi> SOURCE <file.wxs> [ARCH x86|x64] [DEFINES NAME=VALUE ...] [DEPENDS files...])
# Builds a Windows Installer package with wixl; source files are looked up
# next to the .wxs file (wixl takes no absolute source paths: pass a path
# relative to the .wxs file's folder in a define).
function(orvane_add_msi out)
  cmake_parse_arguments(MSI "" "SOURCE;ARCH" "DEFINES;DEPENDS" ${ARGN})
  if(NOT MSI_ARCH)
    set(MSI_ARCH x86)
  endif()
  set(defines "")
  foreach(d IN LISTS MSI_DEFINES)
    list(APPEND defines --define ${d})
  endforeach()
  get_filename_component(src_dir ${MSI_SOURCE} DIRECTORY)
  add_custom_command(
    OUTPUT ${out}
    COMMAND wixl -a ${MSI_ARCH} ${defines} -o ${out} ${MSI_SOURCE}
    WORKING_DIRECTORY ${src_dir}
    DEPENDS ${MSI_SOURCE} ${MSI_DEPENDS}
    COMMENT "wixl ${out}")
endfunction()

# orvane_add_launcher(<target> MANIFEST <manifest.json> OUTPUT <out.exe> [DEPENDS files...])
# Runs the launcher builder on a manifest whenever the manifest, the files it
# names (pass them as DEPENDS) or the launcher itself change.
function(orvane_add_launcher target)
  cmake_parse_arguments(L "" "MANIFEST;OUTPUT" "DEPENDS" ${ARGN})
  add_custom_command(
    OUTPUT ${L_OUTPUT}
    COMMAND ${Python3_EXECUTABLE} ${ORVANE_BUILD_LAUNCHER} --kit ${ORVANE_KIT} ${L_MANIFEST} ${L_OUTPUT}
    DEPENDS ${L_MANIFEST} ${L_DEPENDS} ${ORVANE_BUILD_LAUNCHER} orvane_kit Orvane
    COMMENT "build-launcher ${L_OUTPUT}")
  add_custom_target(${target} ALL DEPENDS ${L_OUTPUT})
endfunction()
