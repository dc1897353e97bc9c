# One language only: there is nothing to choose from.
set(identifier org.vexilo.demo.Monolog)
set(version 0.9)
set(icon "#c0392b" M)
set(development_region de)
set(languages de)
