# Included by the cross (Win32) tree: builds tools/skin as a project of its
# own with the build machine's compiler, then runs its generator into the
# program's folder (<build>/app: UI/ and cursors/ beside vmd3.exe) and writes
# the resource script lines that put the cursors into vmd3.exe.
include(ExternalProject)
set(VMD_HOST_CXX c++ CACHE STRING "The build machine's C++ compiler, for tools run during the build")
set(VMD_HOST_CC cc CACHE STRING "The build machine's C compiler, for tools run during the build")
set(host_dir ${CMAKE_CURRENT_BINARY_DIR}/host)
ExternalProject_Add(vmd_skin_host_tools
  SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}
  BINARY_DIR ${host_dir}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=${VMD_HOST_CXX} -DCMAKE_C_COMPILER=${VMD_HOST_CC}
  BUILD_COMMAND ${CMAKE_COMMAND} --build ${host_dir} --target vmd3-skingen vmd3-skin
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${host_dir}/vmd3-skingen ${host_dir}/vmd3-skin)
# The window tests find controls with the host vmd3-skin.
set(VMD_HOST_SKIN_TOOL ${host_dir}/vmd3-skin CACHE INTERNAL "vmd3-skin built for the build machine")

set(out ${CMAKE_BINARY_DIR}/app)
set(stamp ${CMAKE_CURRENT_BINARY_DIR}/skin.stamp)
add_custom_command(OUTPUT ${stamp}
  COMMAND ${host_dir}/vmd3-skingen ${out}
  COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
  DEPENDS vmd_skin_host_tools ${host_dir}/vmd3-skingen
  COMMENT "Drawing the skin into ${out}")
add_custom_target(vmd_skin_files ALL DEPENDS ${stamp})
