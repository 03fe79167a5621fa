# The results window over the query engine: its grid, the "Show Results" commands and the
# "Remove Files" job.
if(MIRELON_GUI)
  add_library(mirelon_results STATIC
    frm_query_results.cpp
    frm_query_results_actions.cpp
    full_text_hint_delegate.cpp
    grid_column_width.cpp
    query_commands.cpp
    result_grid_model.cpp
    result_grid_view.cpp
    window_thread_grid_sink.cpp
  )
  target_link_libraries(mirelon_results PUBLIC mirelon_query mirelon_cleanup mirelon_session
    mirelon_propsaver mirelon_widgets Qt6::Widgets)
endif()
