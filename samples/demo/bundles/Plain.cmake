# No localisation and no icon declared: the generic icon stands in.
set(identifier org.vexilo.demo.Plain)
set(version 1.0)
