# Lays out the help file's sources in one folder for chmcmd: the pages, style sheet, project,
# contents and index of docs/help, and the pictures of docs/ beside them. The pages name the
# pictures as "../NAME.png" so that they also show when read from docs/help; in the help file
# the pictures lie beside the pages, so those paths lose their "../".
#   cmake -DHELP_SOURCE=<docs/help> -DHELP_STAGE=<folder> -P StageHelp.cmake
if(NOT HELP_SOURCE OR NOT HELP_STAGE)
    message(FATAL_ERROR "StageHelp.cmake needs HELP_SOURCE and HELP_STAGE")
endif()

file(REMOVE_RECURSE ${HELP_STAGE})
file(MAKE_DIRECTORY ${HELP_STAGE})
file(GLOB pages ${HELP_SOURCE}/*.html)
foreach(page IN LISTS pages)
    file(READ ${page} text)
    string(REPLACE "src=\"../" "src=\"" text "${text}")
    get_filename_component(name ${page} NAME)
    file(WRITE ${HELP_STAGE}/${name} "${text}")
endforeach()
file(GLOB others ${HELP_SOURCE}/*.css ${HELP_SOURCE}/*.hhp ${HELP_SOURCE}/*.hhc
     ${HELP_SOURCE}/*.hhk ${HELP_SOURCE}/../*.png)
file(COPY ${others} DESTINATION ${HELP_STAGE})
