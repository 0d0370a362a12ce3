Actor Bunny
Stage
One
From 1
Animation
End
Camera
LookAtActorWithOffset
Text
<S> 1
End
LinkScene
