// Bloom bright pass: keeps what is brighter than the threshold, stretched
// back to the full range.
//   brightimage  the image, texture unit 0
uniform sampler2D brightimage;
varying vec2 uv;

const float threshold = 0.6;

void main()
{
    vec4 colour = texture2D(brightimage, uv);
    gl_FragColor = max(colour - vec4(threshold), vec4(0.0)) / (1.0 - threshold);
}
